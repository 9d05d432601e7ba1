#pragma once
#include <QAbstractScrollArea>
#include <QImage>
#include <QRect>
#include <memory>

class QPainter;

#include "styles/Archive.h"
#include "styles/ArchiveNavigation.h"

namespace tabora {

class CDib;
class JpegCodec;

// The scrolling view of the style archive: one 196-pixel-wide strip of every
// style picture, stored as 26 JPEG tiles of 600 rows. Only two tiles are ever
// decoded and held: the tile under the top of the view and the one after it.
// Presses are not handled here; the main window maps them to styles. The
// keyboard moves a highlight from style to style; Space or Enter asks the
// window to pick it (styleActivated). The chosen style keeps a frame. On a
// finer screen the tiles drawn at the screen's scale are decoded instead, and
// everything else stays in window pixels.
class ArchiveWnd : public QAbstractScrollArea {
    Q_OBJECT
public:
    // The catalogue's strip (Archive).
    static constexpr int kTileWidth = Archive::kStripWidth;
    static constexpr int kTileHeight = Archive::kTileHeight;
    static constexpr int kTileCount = Archive::kTileCount;
    static constexpr int kTileResourceBase = Archive::kTileResourceBase;
    // The last 70 strip rows are never shown.
    static constexpr int kScrollHeight = Archive::kVisibleStripHeight;
    // One wheel notch moves three of these: about three rows of pictures.
    static constexpr int kLineStep = 40;

    explicit ArchiveWnd(QWidget* parent = nullptr);
    ~ArchiveWnd() override;

    // The strip row at the top of the view.
    int ScrollY() const;
    int ScrollX() const;
    void ScrollTo(int y);
    // Decodes the tile holding strip row `position` and the next one, unless
    // that tile is already loaded.
    void LoadTiles(int position);

    // The style the preview shows, framed in the strip (0: none).
    void SetChosenStyle(int32_t style);
    int32_t ChosenStyle() const { return chosen_; }
    // The style the keyboard stands on (0: none yet), scrolled into view
    // unless `scroll` is false (a click, which must not move what it hit).
    void SetHighlightedStyle(int32_t style, bool scroll = true);
    int32_t HighlightedStyle() const { return highlighted_; }
    // The strip rectangle of a style as the view shows it now.
    QRect ViewRectOf(int32_t style) const;

    int16_t loadedTile() const { return loadedTile_; }
    // Device pixels per pixel of the tiles shown: the screen's art scale.
    int scale() const { return scale_; }
    // How many tiles have been decoded so far.
    int DecodeCount() const { return decodeCount_; }

signals:
    // Space or Enter on the highlighted style: pick it as a click would.
    void styleActivated(int style);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void DecodeTile(int tile, int top);
    void UpdateScrollRange();
    void ReportDecodeError(const QString& text);
    void PaintMarks(QPainter& painter) const;
    void DescribeHighlight();

    const int scale_;  // of the tiles: the screen's art scale
    std::unique_ptr<CDib> stripBuffer_;
    std::unique_ptr<JpegCodec> jpegDecoder_;
    int16_t loadedTile_ = -1;
    QImage shown_;  // the buffer in the screen's pixel layout and scale
    int decodeCount_ = 0;
    bool errorReported_ = false;
    ArchiveNavigation navigation_;
    int32_t chosen_ = 0;
    int32_t highlighted_ = 0;
};

}  // namespace tabora
