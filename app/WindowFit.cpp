// Fitting the window on a screen too short for it: the controls left of the
// archive scroll, and the archive is shortened. Where the window fits,
// nothing of its layout changes.
#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QWindow>
#include <algorithm>

#include "app/TaboraWindow.h"
#include "styles/qt/ArchiveWnd.h"

namespace tabora {

namespace {
// Everything left of the archive, which starts at x 330 in the table.
constexpr int kPanelWidth = 330;
// The archive's rectangle is (330, 2)-(543, 522) in a client area 525 high.
constexpr int kArchiveTop = 2;
constexpr int kArchiveBelow = TaboraWindow::kClientHeight - 522;
constexpr int kTopRuleWidth = 548;
// Below this the window would be of little use; a screen this short is not
// served further.
constexpr int kMinClientHeight = 200;
// A title bar and borders, assumed until the window manager tells the real
// frame.
constexpr int kFrameAllowance = 40;
}  // namespace

int TaboraWindow::FrameHeight() const {
    const int frame = frameGeometry().height() - geometry().height();
    return frame > 0 ? frame : kFrameAllowance;
}

void TaboraWindow::FitToScreen(const QRect& available) {
    fittedFor_ = available;
    fittedFrame_ = FrameHeight();
    const int menu = menuWidget() ? menuWidget()->sizeHint().height() : 0;
    const int bars = statesBar_ ? statesBar_->sizeHint().height() : 0;
    const int room = available.height() - fittedFrame_ - menu - bars;
    if (room >= kClientHeight) {
        Unfit();
        return;
    }
    const int height = std::max(kMinClientHeight, room);
    if (!leftScroll_) {
        leftScroll_ = new QScrollArea(client_);
        leftScroll_->setObjectName(QStringLiteral("leftPanelScroll"));
        leftScroll_->setFrameShape(QFrame::NoFrame);
        leftScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        leftScroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        leftScroll_->setFocusPolicy(Qt::NoFocus);
        auto* panel = new QWidget;
        panel->setObjectName(QStringLiteral("leftPanel"));
        panel->setPalette(client_->palette());
        panel->setAutoFillBackground(true);
        panel->setFixedSize(kPanelWidth, kClientHeight);
        // Everything but the archive and the rule under the menu moves into
        // the panel, in stacking order, at the same places.
        const QObjectList children = client_->children();  // a copy: moving changes it
        for (QObject* object : children) {
            auto* child = qobject_cast<QWidget*>(object);
            if (!child || child == archive_ || child == topRule_ || child == leftScroll_) continue;
            const bool shown = !child->isHidden();
            const QRect place = child->geometry();
            child->setParent(panel);
            child->setGeometry(place);
            child->setVisible(shown);
        }
        leftScroll_->setWidget(panel);
        leftScroll_->show();
        topRule_->raise();
        // Whatever gets the keyboard is scrolled into sight. Cut before the
        // panel or the window is taken down, whose children lose focus then.
        focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                              [this](QWidget*, QWidget* now) {
                                  if (now && leftScroll_->widget()->isAncestorOf(now))
                                      leftScroll_->ensureWidgetVisible(now);
                              });
    }
    const int bar = leftScroll_->verticalScrollBar()->sizeHint().width();
    leftScroll_->setGeometry(0, 0, kPanelWidth + bar, height);
    archive_->setGeometry(kPanelWidth + bar, kArchiveTop, kClientWidth - kPanelWidth,
                          height - kArchiveTop - kArchiveBelow);
    topRule_->setGeometry(0, 0, kTopRuleWidth + bar, topRule_->height());
    client_->setFixedSize(kClientWidth + bar, height);
    ApplyTabOrder();
    // Keep the whole frame on the screen.
    adjustSize();
    if (isVisible() && frameGeometry().bottom() > available.bottom())
        move(x(), std::max(available.top(), available.bottom() - frameGeometry().height() + 1));
}

void TaboraWindow::Unfit() {
    if (!leftScroll_) return;
    disconnect(focusWatch_);
    QWidget* panel = leftScroll_->widget();
    const QObjectList children = panel->children();
    for (QObject* object : children) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child) continue;
        const bool shown = !child->isHidden();
        const QRect place = child->geometry();
        child->setParent(client_);
        child->setGeometry(place);
        child->setVisible(shown);
    }
    delete leftScroll_;
    leftScroll_ = nullptr;
    archive_->setGeometry(kPanelWidth, kArchiveTop, kClientWidth - kPanelWidth,
                          kClientHeight - kArchiveTop - kArchiveBelow);
    topRule_->setGeometry(0, 0, kTopRuleWidth, topRule_->height());
    client_->setFixedSize(kClientWidth, kClientHeight);
    ApplyTabOrder();
    adjustSize();
}

void TaboraWindow::FitToCurrentScreen() {
    if (QScreen* shown = screen()) FitToScreen(shown->availableGeometry());
}

void TaboraWindow::WatchScreen() {
    QWindow* handle = windowHandle();
    if (!handle || watchingScreen_) return;
    watchingScreen_ = true;
    auto watch = [this](QScreen* screen) {
        if (screen)
            connect(screen, &QScreen::availableGeometryChanged, this,
                    &TaboraWindow::FitToCurrentScreen, Qt::UniqueConnection);
    };
    watch(handle->screen());
    connect(handle, &QWindow::screenChanged, this, [this, watch](QScreen* screen) {
        watch(screen);
        FitToCurrentScreen();
    });
}

void TaboraWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!fittedFor_.isValid()) {
        WatchScreen();
        FitToCurrentScreen();
    }
}

void TaboraWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // The window manager tells the frame's size once the window is framed.
    if (fittedFor_.isValid() && FrameHeight() != fittedFrame_) FitToScreen(fittedFor_);
}

}  // namespace tabora
