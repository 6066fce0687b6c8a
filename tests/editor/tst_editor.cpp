// The editor's test classes, one per concern, run by one program.
#include <QApplication>

int tst_finestra(int argc, char **argv);
int tst_righe(int argc, char **argv);
int tst_porzioni(int argc, char **argv);
int tst_ricerca(int argc, char **argv);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    int esito = 0;
    for (auto prova : {tst_finestra, tst_righe, tst_porzioni, tst_ricerca})
        esito |= prova(argc, argv);
    return esito;
}
