#pragma once
#include <QWidget>

#include "platform/qt/QtImages.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

namespace tabora {

// The window of the button under design: hosts the core TaboraButton and
// paints its canvas over the work area's panel. It is raised above the work
// area, so the button is never hidden by the panel.
class PreviewWnd : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWnd(QWidget* parent = nullptr);

    TaboraButton& button() { return button_; }
    const TaboraButton& button() const { return button_; }
    // Renders the stale layers and paints now.
    void RefreshNow() { repaint(); }
    // How many times the preview has painted (tests and start-up timing).
    int PaintCount() const { return paintCount_; }

signals:
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TaboraButton button_{GetArchive()};
    BlendCanvas canvas_;
    int paintCount_ = 0;
};

}  // namespace tabora
