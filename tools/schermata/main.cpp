// Draws the window a software centre shows of Pentolone, the recipe editor on the sample book,
// as a PNG: schermata <folder of the books> <picture>. The build runs it under the offscreen
// platform; the picture is published at the address the AppStream metainfo names.
#include "shell/avvio.h"
#include "shell/menu.h"
#include "toolkit/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

// The sample book asks nothing: any box means it is wrong, and the build stops instead of
// waiting for an answer nobody gives.
class SenzaDialoghi : public Dialogs
{
public:
    Risposta messageBox(const QString &testo, Pulsanti, const QString &, Icona) override
    {
        ferma(testo);
    }
    QString inputBox(const QString &prompt, const QString &, const QString &, bool) override
    {
        ferma(prompt);
    }
    QString openFile(const QString &titolo, const QString &, const QString &, bool) override
    {
        ferma(titolo);
    }
    int printDialog(int, const QString &) override { ferma("stampa"); }
    bool printPreview(const QString &, const std::function<void()> &) override
    {
        ferma("anteprima");
    }
    std::unique_ptr<Avanzamento> avanzamento(const QString &testo, const QString &, int) override
    {
        ferma(testo);
    }
    void beep() override {}
    void help(const QString &file, int, int) override { ferma(file); }
    void openUrl(const QString &indirizzo) override { ferma(indirizzo); }

private:
    [[noreturn]] static void ferma(const QString &testo)
    {
        std::fprintf(stderr, "schermata: finestra inattesa: %s\n", qPrintable(testo));
        std::exit(1);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("uso: schermata <cartella dei ricettari> <immagine.png>\n", stderr);
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    installaTraduzioneItaliana();
    SenzaDialoghi dialoghi;
    Dialogs::install(&dialoghi);

    // A working folder of its own, as the menu entry's start makes one.
    QTemporaryDir cartella;
    if (!cartella.isValid() || !Avvio::preparaCartella(cartella.path(), argv[1]) ||
        !QDir::setCurrent(cartella.path())) {
        std::fprintf(stderr, "schermata: cartella di lavoro non preparata in %s\n",
                     qPrintable(cartella.path()));
        return 1;
    }

    Menu menu;
    menu.show();
    menu.findChild<QPushButton *>("Command1")->click();
    QWidget *ricette = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Ricette") && w->isVisible())
            ricette = w;
    if (!ricette) {
        std::fputs("schermata: la finestra delle ricette non si è aperta\n", stderr);
        return 1;
    }
    QApplication::processEvents();
    if (!ricette->grab().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "schermata: impossibile scrivere %s\n", argv[2]);
        return 1;
    }
    return 0;
}
