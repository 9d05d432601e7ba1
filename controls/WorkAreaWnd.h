#pragma once
#include <QWidget>

#include "platform/qt/QtImages.h"

namespace tabora {

// The frame and white panel behind the preview: the panel lies exactly under
// the preview, the bevelled frame around it. No input, no button drawing.
class WorkAreaWnd : public QWidget {
    Q_OBJECT
public:
    explicit WorkAreaWnd(QWidget* parent = nullptr);

    // Where the panel (and the preview) sits inside the work area.
    static constexpr int kBackdropOffset = 9;
    // Shared by every work area and the preview; loaded once per process.
    static const ScreenPicture& Backdrop();
    static const ScreenPicture& Overlay();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BlendCanvas canvas_;
};

}  // namespace tabora
