#pragma once

#include <QApplication>
#include <QTest>

// The main of a test program of windows: text measured at 96 dpi whatever the screen says, so
// sizes and printed widths come out the same on every machine.
#define PENTOLONE_TEST_MAIN(Classe)                                                                \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        Classe prova;                                                                              \
        return QTest::qExec(&prova, argc, argv);                                                   \
    }
