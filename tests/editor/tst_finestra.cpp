#include "editore.h"

class TstFinestra : public ProvaEditor
{
    Q_OBJECT

private slots:
    void init() { preparaProva(); }
    void cleanup() { chiudiProva(); }
};

int tst_finestra(int argc, char **argv)
{
    TstFinestra t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_finestra.moc"
