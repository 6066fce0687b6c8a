// The program's start as a cook lives it, on the book named: the main window, a click on the
// "Ricette" launcher, the editor drawn with its 10,000 titles listed. Run by editor_bench, which
// times it from outside; prints the CPU this process used up to that moment.
#include "editor/ricette.h"
#include "finestre.h"
#include "shell/menu.h"
#include "toolkit/stile.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char **argv)
{
    senzaSchermo();
    QApplication app(argc, argv);
    Stile::installa(); // as the program
    if (argc < 2)
        return 2;
    Silenzio silenzio;
    Dialogs::install(&silenzio);
    Menu menu;
    menu.ApriDaRigaDiComando(QString::fromLocal8Bit(argv[1]));
    menu.show();
    if (!QTest::qWaitForWindowExposed(&menu))
        return 1;
    // The cook's click comes once the main window is drawn.
    QCoreApplication::processEvents();
    QTest::mouseClick(controllo<QPushButton>(&menu, "Command1"), Qt::LeftButton);
    Ricette *editor = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *r = qobject_cast<Ricette *>(w))
            editor = r;
    if (!editor || !QTest::qWaitForWindowExposed(editor))
        return 1;
    QCoreApplication::processEvents();
    if (controllo<QListWidget>(editor, "ListaRicette")->count() == 0 || silenzio.inattesi)
        return 1;
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    std::printf("cpu_ms: %.1f\n", ms(uso.ru_utime) + ms(uso.ru_stime));
    std::fflush(stdout);
    // What comes after the titles shown is no part of the start, but the end is the program's
    // own: it writes down the books found whole, which the next start reads.
    return 0;
}
