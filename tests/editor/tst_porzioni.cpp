#include "editore.h"

class TstPorzioni : public ProvaEditor
{
    Q_OBJECT

private slots:
    void init() { preparaProva(); }
    void cleanup() { chiudiProva(); }
};

int tst_porzioni(int argc, char **argv)
{
    TstPorzioni t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_porzioni.moc"
