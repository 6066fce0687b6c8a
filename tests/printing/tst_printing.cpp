// The print layout and the recipe list, run by one program.
#include <QApplication>

int tst_impaginazione(int argc, char **argv);
int tst_elenco(int argc, char **argv);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    int esito = 0;
    for (auto prova : {tst_impaginazione, tst_elenco})
        esito |= prova(argc, argv);
    return esito;
}
