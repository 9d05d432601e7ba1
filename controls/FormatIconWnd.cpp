#include "controls/FormatIconWnd.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>

namespace tabora {

namespace {

class FormatIconAccessible : public QAccessibleWidget {
public:
    explicit FormatIconAccessible(QWidget* icon) : QAccessibleWidget(icon, QAccessible::Button) {
        addControllingSignal(QStringLiteral("activated()"));
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction()) emit static_cast<FormatIconWnd*>(widget())->activated();
    }
};

QAccessibleInterface* MakeFormatIconAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("tabora::FormatIconWnd") && object && object->isWidgetType())
        return new FormatIconAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

void InstallFormatIconAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&MakeFormatIconAccessible);
        return true;
    }();
    (void)installed;
}

FormatIconWnd::FormatIconWnd(QWidget* parent) : MaskedImageWnd(parent) {
    InstallFormatIconAccessibility();
    setFocusPolicy(Qt::TabFocus);
}

void FormatIconWnd::paintEvent(QPaintEvent* event) {
    MaskedImageWnd::paintEvent(event);
    if (!hasFocus()) return;
    // A dotted frame round the icon, drawn the same under every style.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void FormatIconWnd::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Select:
            emit activated();
            return;
        default:
            MaskedImageWnd::keyPressEvent(event);
    }
}

void FormatIconWnd::focusInEvent(QFocusEvent* event) {
    MaskedImageWnd::focusInEvent(event);
    update();
}

void FormatIconWnd::focusOutEvent(QFocusEvent* event) {
    MaskedImageWnd::focusOutEvent(event);
    update();
}

}  // namespace tabora
