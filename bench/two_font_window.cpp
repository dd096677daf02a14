// For information beside the start-up floor (table_window.cpp): one window with one label in
// each of vorlane's two fonts, picked as its window picks them (qt/fonts.h), each with a text
// that vorlane shows in that font. Qt opens both Japanese font files, and each adds about 2 MB
// of resident pages, so no window that shows vorlane's texts in its fonts starts with less.

#include "qt/fonts.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    QLabel caption(QStringLiteral("フレーム番号"), &window);
    caption.setFont(vorlane::controlFont(vorlane::LabelFont));
    QLabel separator(QStringLiteral("："), &window);
    separator.setFont(vorlane::controlFont(vorlane::SeparatorFont));
    separator.move(0, caption.sizeHint().height());
    window.show();
    return app.exec();
}
