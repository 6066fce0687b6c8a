#include "editore.h"

class TstRighe : public ProvaEditor
{
    Q_OBJECT

private slots:
    void init() { preparaProva(); }
    void cleanup() { chiudiProva(); }
};

int tst_righe(int argc, char **argv)
{
    TstRighe t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_righe.moc"
