// The window under a dark desktop theme, as a picture: the theme's palette
// is handed to the application as a desktop would, then the window is made
// and shown the way the program does. Writes OUT.png: the window with its
// File menu open and a prompt beside it; with --as-before, without the
// application's answer to a dark theme (what it looked like before).
//
//     tabora-dark-shot OUT.png [--as-before]
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <cstdio>

#include "app/TaboraApp.h"
#include "app/TaboraWindow.h"
#include "platform/qt/QtDialogHost.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tabora-dark-shot OUT.png [--as-before]\n");
        return 2;
    }
    QApplication app(argc, argv);
    const bool asBefore = argc > 2 && QString::fromLatin1(argv[2]) == QLatin1String("--as-before");
    // A dark desktop's colours.
    QPalette dark(QColor(49, 54, 59), QColor(42, 46, 50));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 32, 35));
    dark.setColor(QPalette::Highlight, QColor(61, 174, 233));
    QApplication::setPalette(dark);
    if (!asBefore) tabora::KeepLightPalette();

    tabora::TaboraWindow window;
    window.show();
    tabora::PromptDialog prompt(tabora::Prompt::QuitWithoutSaving);
    prompt.show();
    QMenu* file = window.findChild<QMenu*>(QStringLiteral("fileMenu"));
    QTimer::singleShot(500, [&] {
        file->popup(window.mapToGlobal(QPoint(0, window.menuBar()->height())));
        QTimer::singleShot(500, [&] {
            const QPixmap shownWindow = window.grab();
            const QPixmap shownMenu = file->grab();
            const QPixmap shownPrompt = prompt.grab();
            const int gap = 16;
            QImage sheet(shownWindow.width() + gap + shownPrompt.width(),
                         std::max(shownWindow.height(), shownPrompt.height()),
                         QImage::Format_RGB32);
            sheet.fill(QColor(20, 20, 20));
            QPainter painter(&sheet);
            painter.drawPixmap(0, 0, shownWindow);
            painter.drawPixmap(0, window.menuBar()->height(), shownMenu);
            painter.drawPixmap(shownWindow.width() + gap, 0, shownPrompt);
            painter.end();
            const bool saved = sheet.save(QString::fromLocal8Bit(argv[1]));
            QApplication::exit(saved ? 0 : 1);
        });
    });
    return app.exec();
}
