// Reads a web page on standard input and writes its recipes as CBOR on standard output.
// The program starts it as a child process: a page comes from anywhere, and if the parser
// crashes or loops on it, only this process goes, within limits of memory and time.
//
//   pentolone-web <the page's address, named in each recipe's notes>  < page
#include "pentolone_web/analisi.h"

#include "formati/paginaweb.h"
#include "limiti/limiti.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (!Limiti::prepara(argc, 1, "pentolone-web <indirizzo> < pagina", {1ull << 30, 30}))
        return 1;

    QByteArray pagina;
    char blocco[65536];
    for (ssize_t n; (n = read(STDIN_FILENO, blocco, sizeof blocco)) > 0;) {
        pagina.append(blocco, n);
        if (pagina.size() > PaginaWeb::MassimoByte)
            return 3;
    }
    QString problema;
    const QList<RicettaEstera> ricette =
        PaginaWeb::ricette(pagina, QString::fromUtf8(argv[1]), &problema);
    const QByteArray dati = PaginaWeb::inCbor(ricette, problema);
    return std::fwrite(dati.constData(), 1, size_t(dati.size()), stdout) == size_t(dati.size()) &&
                   std::fflush(stdout) == 0
               ? 0
               : 4;
}
