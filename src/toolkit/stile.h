#pragma once

#include <QProxyStyle>

// The program's style: the one Qt chose or the user asked for, with one difference nobody can
// see. Under Qt's own Fusion an entry box draws its rounded frame again whenever its text
// changes, and the frame is most of that drawing: a move between recipes changes the text of a
// dozen boxes. The frame is drawn once for each size, state and palette, and copied after that.
// Other styles may animate their frames, so they draw as they do.
class Stile : public QProxyStyle
{
public:
    explicit Stile(const QString &nome);

    // In place of the application's style; before the first window.
    static void installa();

    void drawPrimitive(PrimitiveElement elemento, const QStyleOption *opzione, QPainter *pittore,
                       const QWidget *widget = nullptr) const override;

private:
    const bool fusion_;
};
