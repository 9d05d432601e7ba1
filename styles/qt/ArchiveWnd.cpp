#include "styles/qt/ArchiveWnd.h"

#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include "imaging/JpegCodec.h"
#include "io/CDib.h"
#include "io/MacStream.h"
#include "platform/Error.h"
#include "platform/Resources.h"
#include "platform/qt/DialogHost.h"
#include "platform/qt/QtImages.h"
#include "styles/ScaledArt.h"

namespace tabora {

namespace {
// Both tiles of the buffer, one under the other.
constexpr int kBufferHeight = 2 * ArchiveWnd::kTileHeight;
}  // namespace

ArchiveWnd::ArchiveWnd(QWidget* parent)
    : QAbstractScrollArea(parent),
      scale_(ScreenArtScale()),
      stripBuffer_(std::make_unique<CDib>(kTileWidth * scale_, kBufferHeight * scale_, 24)),
      jpegDecoder_(std::make_unique<JpegCodec>()),
      shown_(kTileWidth * scale_, kBufferHeight * scale_, QImage::Format_RGB32) {
    stripBuffer_->AllocateImage();
    shown_.setDevicePixelRatio(scale_);
    shown_.fill(Qt::white);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(kLineStep);
    LoadTiles(0);
    UpdateScrollRange();
}

ArchiveWnd::~ArchiveWnd() = default;

int ArchiveWnd::ScrollY() const { return verticalScrollBar()->value(); }
int ArchiveWnd::ScrollX() const { return horizontalScrollBar()->value(); }
void ArchiveWnd::ScrollTo(int y) { verticalScrollBar()->setValue(y); }

void ArchiveWnd::UpdateScrollRange() {
    const int page = viewport()->height();
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setRange(0, std::max(0, kScrollHeight - page));
}

void ArchiveWnd::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void ArchiveWnd::scrollContentsBy(int, int) { viewport()->update(); }

void ArchiveWnd::DecodeTile(int tile, int top) {
    ResourceBytes bytes =
        scale_ == 1 ? Resources().FindRaw(kTileResourceBase + tile) : FindStripTile(tile, scale_);
    if (bytes.empty()) return;  // a missing tile leaves that half as it was
    PtrMacStream stream(bytes.data(), uint32_t(bytes.size()), false);
    jpegDecoder_->Decode(stream, *stripBuffer_,
                         ScaleRect(Rect{0, top, kTileWidth, top + kTileHeight}, scale_));
    ++decodeCount_;
}

void ArchiveWnd::LoadTiles(int position) {
    const int tile = position / kTileHeight;
    if (tile >= kTileCount || tile == loadedTile_) return;
    try {
        DecodeTile(tile, 0);
        loadedTile_ = int16_t(tile);
        if (tile + 1 < kTileCount) DecodeTile(tile + 1, kTileHeight);
    } catch (const TaboraError& error) {
        loadedTile_ = int16_t(tile);
        ReportDecodeError(QString::fromUtf8(error.what()));
    }
    // The bitmap's rows run bottom-up in blue-green-red; the screen wants
    // top-down 0xFFRRGGBB.
    const uint8_t* bits = stripBuffer_->Bits();
    if (bits == nullptr) return;
    const uint32_t rowBytes = stripBuffer_->GetRowBytes();
    const int rows = kBufferHeight * scale_, columns = kTileWidth * scale_;
    for (int y = 0; y < rows; ++y) {
        const uint8_t* src = bits + size_t(rows - 1 - y) * rowBytes;
        auto* dst = reinterpret_cast<QRgb*>(shown_.scanLine(y));
        for (int x = 0; x < columns; ++x, src += 3) dst[x] = qRgb(src[2], src[1], src[0]);
    }
}

void ArchiveWnd::ReportDecodeError(const QString& text) {
    // A damaged tile is said once, after the paint that met it: a dialog
    // inside a paint would paint again underneath it.
    if (errorReported_) return;
    errorReported_ = true;
    QTimer::singleShot(0, this, [text] { ShowMessage(text.toStdString()); });
}

void ArchiveWnd::paintEvent(QPaintEvent*) {
    const int y = ScrollY();
    LoadTiles(y);
    QPainter painter(viewport());
    const int top = kTileHeight * std::max<int>(loadedTile_, 0) - y;
    const QRect area = viewport()->rect();
    painter.drawImage(QPoint(-ScrollX(), top), shown_);
    // Anything the buffer does not cover (a viewport wider than the strip).
    const QRect covered(-ScrollX(), top, kTileWidth, kBufferHeight);
    const QColor face = palette().color(QPalette::Button);
    if (covered.right() < area.right())
        painter.fillRect(QRect(covered.right() + 1, 0, area.right() - covered.right(), area.height()), face);
    if (covered.top() > 0) painter.fillRect(QRect(0, 0, area.width(), covered.top()), face);
}

}  // namespace tabora
