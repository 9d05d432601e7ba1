#include "styles/qt/ArchiveWnd.h"

#include <QAccessible>
#include <QKeyEvent>
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
#include "styles/Catalogue.h"

namespace tabora {

namespace {
// Both tiles of the buffer, one under the other.
constexpr int kBufferHeight = 2 * ArchiveWnd::kTileHeight;
// The chosen style's frame lies just outside its picture and the keyboard's
// mark a little further out: both stay in the gap to the neighbours (at
// least 6 rows and 8 columns), so no other picture is covered.
constexpr int kChosenFrameWidth = 2;
constexpr int kHighlightOffset = 4;
// How much room a highlighted picture keeps from the edge when the view
// scrolls to it.
constexpr int kScrollMargin = 8;
}  // namespace

ArchiveWnd::ArchiveWnd(QWidget* parent)
    : QAbstractScrollArea(parent),
      scale_(ScreenArtScale()),
      stripBuffer_(std::make_unique<CDib>(kTileWidth * scale_, kBufferHeight * scale_, 24)),
      jpegDecoder_(std::make_unique<JpegCodec>()),
      shown_(kTileWidth * scale_, kBufferHeight * scale_, QImage::Format_RGB32),
      navigation_(CatalogueTable(), kScrollHeight) {
    stripBuffer_->AllocateImage();
    shown_.setDevicePixelRatio(scale_);
    shown_.fill(Qt::white);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(kLineStep);
    // Tab reaches the strip, and a click gives it the keyboard too.
    setFocusPolicy(Qt::StrongFocus);
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

QRect ArchiveWnd::ViewRectOf(int32_t style) const {
    const ArchiveEntry* e = GetArchive().Entry(style);
    if (!e) return {};
    return QRect(e->left - ScrollX(), e->top - ScrollY(), e->right - e->left, e->bottom - e->top);
}

void ArchiveWnd::SetChosenStyle(int32_t style) {
    if (style == chosen_) return;
    chosen_ = style;
    viewport()->update();
}

void ArchiveWnd::SetHighlightedStyle(int32_t style, bool scroll) {
    if (!navigation_.Reachable(style)) style = 0;
    if (style != highlighted_) {
        highlighted_ = style;
        viewport()->update();
        DescribeHighlight();
    }
    if (highlighted_ == 0 || !scroll) return;
    const QRect r = ViewRectOf(highlighted_);
    const int page = viewport()->height();
    if (r.top() - kScrollMargin < 0)
        ScrollTo(ScrollY() + r.top() - kScrollMargin);
    else if (r.bottom() + kScrollMargin >= page)
        ScrollTo(ScrollY() + r.bottom() + kScrollMargin - page + 1);
}

void ArchiveWnd::DescribeHighlight() {
    // What a screen reader says about the highlighted style: its section and
    // number.
    QString text;
    if (highlighted_ > 0) {
        const auto items = CatalogueItems();
        QString section;
        for (int32_t i = highlighted_ - 1; i >= 0; --i) {
            if (!items[size_t(i)].IsHeading()) continue;
            section = QString::fromUtf8(items[size_t(i)].heading.data(),
                                        qsizetype(items[size_t(i)].heading.size()));
            break;
        }
        text = section.isEmpty() ? tr("Style %1").arg(highlighted_)
                                 : tr("%1, style %2").arg(section).arg(highlighted_);
    }
    setAccessibleDescription(text.isEmpty() ? tr("Arrow keys move between styles, Enter picks one")
                                            : text);
    if (hasFocus()) {
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void ArchiveWnd::keyPressEvent(QKeyEvent* event) {
    ArchiveMove move;
    switch (event->key()) {
        case Qt::Key_Left:
            move = ArchiveMove::Previous;
            break;
        case Qt::Key_Right:
            move = ArchiveMove::Next;
            break;
        case Qt::Key_Up:
            move = ArchiveMove::Up;
            break;
        case Qt::Key_Down:
            move = ArchiveMove::Down;
            break;
        case Qt::Key_PageUp:
            move = ArchiveMove::PageUp;
            break;
        case Qt::Key_PageDown:
            move = ArchiveMove::PageDown;
            break;
        case Qt::Key_Home:
            move = ArchiveMove::First;
            break;
        case Qt::Key_End:
            move = ArchiveMove::Last;
            break;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Select:
            if (highlighted_ > 0) emit styleActivated(highlighted_);
            return;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    const int32_t from = highlighted_ > 0 ? highlighted_ : navigation_.FirstAtOrBelow(ScrollY());
    SetHighlightedStyle(highlighted_ > 0 ? navigation_.Move(from, move, viewport()->height())
                                         : from);
}

void ArchiveWnd::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    // The keyboard starts on what the view shows: the chosen style when it
    // is in sight, else the first picture in sight. Gaining focus never
    // scrolls, so a click lands where it was aimed.
    const QRect view = viewport()->rect();
    if (highlighted_ == 0 || !view.intersects(ViewRectOf(highlighted_))) {
        const int32_t start = navigation_.Reachable(chosen_) && view.contains(ViewRectOf(chosen_))
                                  ? chosen_
                                  : navigation_.FirstAtOrBelow(ScrollY());
        if (start != highlighted_) {
            highlighted_ = start;
            DescribeHighlight();
        }
    }
    viewport()->update();
}

void ArchiveWnd::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void ArchiveWnd::PaintMarks(QPainter& painter) const {
    if (chosen_ > 0 && GetArchive().HasStyleData(chosen_)) {
        const int w = kChosenFrameWidth;
        QPen pen(palette().color(QPalette::Highlight), w);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        // A pen of width w centred on this outline covers the w rows and
        // columns just outside the picture.
        const QRectF r = QRectF(ViewRectOf(chosen_)).adjusted(-w / 2.0, -w / 2.0, w / 2.0, w / 2.0);
        painter.drawRect(r);
    }
    if (hasFocus() && highlighted_ > 0) {
        const QRect r = ViewRectOf(highlighted_)
                            .adjusted(-kHighlightOffset, -kHighlightOffset, kHighlightOffset - 1,
                                      kHighlightOffset - 1);
        QColor fill = palette().color(QPalette::Highlight);
        fill.setAlpha(48);
        painter.fillRect(r, fill);
        QPen pen(palette().color(QPalette::Text), 1, Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r);
    }
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
    PaintMarks(painter);
}

}  // namespace tabora
