#include "editore.h"

class TstRicerca : public ProvaEditor
{
    Q_OBJECT

private slots:
    void init() { preparaProva(); }
    void cleanup() { chiudiProva(); }
};

int tst_ricerca(int argc, char **argv)
{
    TstRicerca t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_ricerca.moc"
