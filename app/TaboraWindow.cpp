#include "app/TaboraWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSlider>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <iterator>

#include "app/CaptionField.h"
#include "render/Contrast.h"
#include "app/Readouts.h"
#include "app/TaboraApp.h"
#include "controls/AValueWnd.h"
#include "controls/CSizeComboBox.h"
#include "controls/ColorButton.h"
#include "controls/FontPopup.h"
#include "controls/FormatIconWnd.h"
#include "controls/MaskedImageWnd.h"
#include "controls/PreviewWnd.h"
#include "controls/WorkAreaWnd.h"
#include "platform/qt/QtImages.h"
#include "styles/qt/ArchiveWnd.h"

namespace tabora {

namespace {

// A closed drop-down list; the table's taller rectangles include the list
// that drops down.
constexpr int kClosedComboHeight = 22;
constexpr int kComboVisibleItems = 12;
// How many page steps a slider's whole range is.
constexpr int kPagesPerRange = 5;
// The row of format icons in step 6: five fit between the step's words and
// the archive.
constexpr int32_t kFirstIconLeft = 120;
constexpr int32_t kIconStep = 40;
constexpr int32_t kIconTop = 467;
constexpr int32_t kIconWidth = 33;
constexpr int32_t kIconHeight = 44;

// A check box that is only its box: the table gives it 13 × 13 pixels and
// its wording comes from the picture caption beside it.
class BoxOnlyCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.rect = rect();
        painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = rect();
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

template <class W>
W* Place(W* widget, const char* name, Rect r) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(r.left, r.top, r.Width(), r.Height());
    widget->show();
    return widget;
}

QFrame* MakeRule(QWidget* parent, const char* name, Rect r, bool vertical) {
    auto* rule = new QFrame(parent);
    rule->setFrameShape(vertical ? QFrame::VLine : QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    return Place(rule, name, r);
}

QSlider* MakeSlider(QWidget* parent, const char* name, Rect r, const QString& wording) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setTickPosition(QSlider::NoTicks);
    // A click beside the thumb (or Page Up/Down) moves a fifth of the range,
    // so five clicks cross the slider; the arrow keys move one step.
    QObject::connect(slider, &QSlider::rangeChanged, slider, [slider](int min, int max) {
        slider->setPageStep(std::max(1, (max - min) / kPagesPerRange));
    });
    slider->setAccessibleName(wording);
    slider->setToolTip(wording);
    return Place(slider, name, r);
}

template <class Picture = MaskedImageWnd>
Picture* MakePicture(QWidget* parent, const char* name, Rect r, const char* image, const char* mask,
                     const QString& wording) {
    auto* picture = new Picture(parent);
    if (mask)
        picture->Create(image, mask);
    else
        picture->Create(image);
    picture->SetWording(wording);
    return Place(picture, name, r);
}

QToolButton* MakeNudge(QWidget* parent, const char* name, Rect r, Qt::ArrowType arrow,
                       const QString& wording) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAccessibleName(wording);
    button->setToolTip(wording);
    button->setFocusPolicy(Qt::TabFocus);
    return Place(button, name, r);
}

}  // namespace

TaboraWindow::TaboraWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("TaboraWindow"));
    // The platform's mark for unsaved changes goes where "[*]" stands.
    setWindowTitle(QStringLiteral("Tabora[*]"));
    // A caption, a system menu and a minimise box; no sizing border, no
    // maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setAcceptDrops(true);
    extraScales_ = preferences_.SavedExtraScales();
    CreateMenus();
    CreateControls();
    setCentralWidget(client_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    FillFontList();
    shadowCheck_->setChecked(true);
    // The export options chosen in an earlier run.
    ButtonSettings remembered = settings();
    preferences_.ReadExportOptions(remembered);
    if (!(remembered == settings())) button().ApplySettings(remembered);
    SyncControlsFromSettings();
    modified_ = false;
    currentPath_.clear();
    currentExtension_.clear();
    savedSettings_ = settings();
    savedStates_ = states_;
    savedOutputs_ = stateOutputs_;
    UpdateCommands();
    // Where the window stood last time, if that is still on a screen.
    if (const auto position = preferences_.WindowPosition())
        if (QGuiApplication::screenAt(*position)) move(*position);
}

TaboraWindow::~TaboraWindow() {
    // Taking the children down moves the focus; nothing of ours may hear it.
    disconnect(focusWatch_);
}

TaboraButton& TaboraWindow::button() { return preview_->button(); }
const ButtonSettings& TaboraWindow::settings() const { return preview_->button().settings(); }

void TaboraWindow::CreateMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    QAction* open = file->addAction(tr("&Open..."), this, &TaboraWindow::OnOpen);
    open->setShortcut(QKeySequence::Open);
    open->setObjectName(QStringLiteral("openAction"));
    recentMenu_ = file->addMenu(tr("Open &Recent"));
    recentMenu_->setObjectName(QStringLiteral("recentMenu"));
    recentMenu_->setToolTipsVisible(true);
    connect(recentMenu_, &QMenu::aboutToShow, this, &TaboraWindow::FillRecentMenu);
    saveAction_ = file->addAction(tr("&Save"), this, &TaboraWindow::OnSave);
    saveAction_->setShortcut(QKeySequence::Save);
    saveAction_->setObjectName(QStringLiteral("saveAction"));
    QMenu* saveAs = file->addMenu(tr("Save &As"));
    // What Save writes beside the picture, remembered between runs.
    stateOutputs_ = preferences_.SavedStateOutputs();
    auto addOutput = [&](const QString& text, const char* name, const QString& tip, bool on) {
        QAction* action = new QAction(text, file);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        action->setChecked(on);
        action->setToolTip(tip);
        action->setStatusTip(tip);
        connect(action, &QAction::toggled, this, [this] {
            SetStateOutputs({stateFilesAction_->isChecked(), spriteAction_->isChecked(),
                             cssAction_->isChecked()});
        });
        return action;
    };
    stateFilesAction_ = addOutput(tr("Also Save S&tate Files"), "stateFilesAction",
                                  tr("Save writes a picture per state beside the button "
                                     "(home-hover.png, home-active.png, ...)"),
                                  stateOutputs_.files);
    spriteAction_ = addOutput(tr("Also Save S&prite"), "spriteAction",
                              tr("Save writes every state in one picture, one under another "
                                 "(home-sprite.png)"),
                              stateOutputs_.sprite);
    cssAction_ = addOutput(tr("Also Save &CSS"), "cssAction",
                           tr("Save writes a style sheet (home.css) with a rule per state, "
                              "drawn from the sprite or the state files"),
                           stateOutputs_.css);
    saveAs->setObjectName(QStringLiteral("saveAsMenu"));
    // One entry per format ("GIF...", object name saveAsGifAction).
    for (const FormatEntry* format : MenuFormats()) {
        QString name = QString::fromLatin1(format->name);
        name[0] = name[0].toUpper();
        saveAs->addAction(QString::fromLatin1(format->label) + QStringLiteral("..."), this,
                          [this, format] { SaveAsFormat(format->format); })
            ->setObjectName(QStringLiteral("saveAs%1Action").arg(name));
    }
    file->addSeparator();
    file->addAction(stateFilesAction_);
    file->addAction(spriteAction_);
    file->addAction(cssAction_);
    file->setToolTipsVisible(true);
    file->addSeparator();
    QAction* exit = file->addAction(tr("E&xit"), this, &QWidget::close);
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    exit->setMenuRole(QAction::QuitRole);
    exit->setObjectName(QStringLiteral("exitAction"));
    connect(file, &QMenu::aboutToShow, this, [this] {
        UpdateCommands();
        FillRecentMenu();
    });

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("editMenu"));
    undoAction_ = edit->addAction(tr("&Undo"), this, &TaboraWindow::OnUndo);
    undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undoAction_->setObjectName(QStringLiteral("undoAction"));
    redoAction_ = edit->addAction(tr("&Redo"), this, &TaboraWindow::OnRedo);
    redoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    redoAction_->setObjectName(QStringLiteral("redoAction"));

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    QAction* about = help->addAction(tr("&About Tabora..."), this, &TaboraWindow::OnAbout);
    about->setMenuRole(QAction::AboutRole);
    about->setObjectName(QStringLiteral("aboutAction"));
}

void TaboraWindow::CreateControls() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("clientArea"));
    client_->setFixedSize(kClientWidth, kClientHeight);
    // The button face behind everything; the pictures blend over the same
    // colour.
    QPalette face = client_->palette();
    // The pictures carry dark wording drawn for a light face; under a dark
    // desktop theme the editor keeps the light palette it was drawn for.
    if (IsDarkPalette(face)) face = LightPalette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    client_->setPalette(face);
    client_->setAutoFillBackground(true);
    QWidget* c = client_;

    // Created in this order: later siblings lie above earlier ones, so the
    // preview is above the work area's panel and nothing covers it.
    topRule_ = MakeRule(c, "topRule", {0, 0, 548, 2}, false);
    banner_ = MakePicture(c, "banner", {0, 2, 330, 72}, "banner", "bannerm",
                          tr("Tabora: web buttons in a few clicks"));
    archive_ = Place(new ArchiveWnd(c), "archive", {330, 2, 543, 522});
    archive_->setAccessibleName(tr("Button style archive"));
    archive_->viewport()->setCursor(Qt::PointingHandCursor);
    rules_[0] = MakeRule(c, "rule2", {0, 72, 333, 74}, false);
    rules_[1] = MakeRule(c, "rule3", {0, 172, 331, 174}, false);
    rules_[2] = MakeRule(c, "rule4", {0, 250, 331, 252}, false);
    rules_[3] = MakeRule(c, "rule5", {0, 286, 331, 288}, false);
    rules_[4] = MakeRule(c, "rule6", {0, 330, 331, 332}, false);
    rules_[5] = MakeRule(c, "rule7", {0, 453, 331, 455}, false);
    verticalRule_ = MakeRule(c, "verticalRule", {328, 2, 330, 525}, true);
    shadowCheck_ = Place(new BoxOnlyCheckBox(c), "shadowCheck", {231, 303, 244, 316});
    shadowCheck_->setAccessibleName(tr("Drop shadow"));
    shadowCheck_->setToolTip(tr("Drop shadow"));
    shadowCheck_->setChecked(true);
    sizeSlider_ = MakeSlider(c, "sizeSlider", {4, 145, 128, 170}, tr("Size"));
    sizeSlider_->setRange(kMinButtonSize, kNaturalButtonSize);
    sizeSlider_->setValue(kNaturalButtonSize);
    hueSlider_ = MakeSlider(c, "hueSlider", {150, 187, 310, 212}, tr("Hue"));
    hueSlider_->setRange(0, kMaxHueShift);
    hueSlider_->setValue(0);
    brightnessSlider_ = MakeSlider(c, "brightnessSlider", {150, 224, 310, 249}, tr("Brightness"));
    brightnessSlider_->setRange(0, 2 * kMaxBrightness);
    brightnessSlider_->setValue(kMaxBrightness);

    chooseLabel_ = MakePicture(c, "chooseLabel", {38, 82, 126, 124}, "choosei", "choosem",
                               tr("Choose a button from the list at the right"));
    const Rect stepRects[6] = {{11, 82, 31, 102},   {11, 184, 31, 204}, {11, 258, 31, 278},
                               {11, 295, 31, 315},  {11, 339, 31, 359}, {11, 470, 31, 490}};
    static const char* const stepNames[6] = {"step1", "step2", "step3", "step4", "step5", "step6"};
    static const char* const stepImages[6] = {"orange1i", "orange2i", "orange3i",
                                              "orange4i", "orange5i", "orange6i"};
    for (int i = 0; i < 6; ++i)
        steps_[i] = MakePicture(c, stepNames[i], stepRects[i], stepImages[i], "orangenm",
                                tr("Step %1").arg(i + 1));
    MakePicture(c, "adjustLabel", {42, 195, 131, 224}, "adjusti", "adjustm",
                tr("Adjust color and brightness"));
    MakePicture(c, "backgroundLabel", {39, 261, 176, 277}, "bcolori", "bcolorm",
                tr("Select a background color"));
    MakePicture(c, "shadowLabel", {41, 295, 148, 324}, "shadowi", "shadowm",
                tr("Check the box to add a drop-shadow"));
    MakePicture(c, "typeLabel", {42, 341, 191, 357}, "typei", "typem",
                tr("Type some text (optional)"));
    MakePicture(c, "saveLabel", {38, 470, 99, 496}, "savei", "savem", tr("Save your button"));
    MakePicture(c, "sizeCaption", {34, 138, 59, 143}, "size", nullptr, tr("Size"));
    MakePicture(c, "hueCaption", {186, 180, 243, 185}, "hue", nullptr, tr("Hue"));
    MakePicture(c, "brightnessCaption", {181, 217, 248, 222}, "bright", nullptr, tr("Brightness"));
    MakePicture(c, "textColorCaption", {242, 349, 276, 354}, "tcolor", nullptr, tr("Text color"));
    MakePicture(c, "antialiasCaption", {211, 369, 276, 374}, "antialias", nullptr, tr("Antialias"));
    MakePicture(c, "textShadowCaption", {233, 390, 276, 395}, "shadow", nullptr, tr("Text shadow"));
    MakePicture(c, "placementCaption", {198, 421, 261, 434}, "placement", nullptr,
                tr("Text placement"));
    // The format icons in a row, in menu order; a press saves in that format.
    for (const FormatEntry* format : MenuFormats()) {
        const int32_t left = kFirstIconLeft + kIconStep * format->menuPosition;
        const std::string name = std::string(format->extension) + "Icon";
        FormatIconWnd* icon = MakePicture<FormatIconWnd>(
            c, name.c_str(), {left, kIconTop, left + kIconWidth, kIconTop + kIconHeight},
            format->iconImage, format->iconMask,
            tr("Save as %1").arg(QString::fromLatin1(format->label)));
        icon->setCursor(Qt::PointingHandCursor);
        connect(icon, &FormatIconWnd::activated, this,
                [this, format] { SaveAsFormat(format->format); });
        formatIcons_.push_back({icon, format});
    }
    workArea_ = Place(new WorkAreaWnd(c), "workArea", {133, 77, 325, 169});
    antialiasCheck_ = Place(new BoxOnlyCheckBox(c), "antialiasCheck", {284, 365, 297, 378});
    antialiasCheck_->setAccessibleName(tr("Antialias"));
    antialiasCheck_->setToolTip(tr("Antialias"));
    textShadowCheck_ = Place(new BoxOnlyCheckBox(c), "textShadowCheck", {284, 386, 297, 399});
    textShadowCheck_->setAccessibleName(tr("Text shadow"));
    textShadowCheck_->setToolTip(tr("Text shadow"));
    backgroundSwatch_ =
        Place(new ColorButton(0xFFFFFF, false, c), "backgroundSwatch", {229, 261, 245, 277});
    backgroundSwatch_->setAccessibleName(tr("Background color"));
    backgroundSwatch_->setToolTip(tr("Background color"));
    textColorSwatch_ =
        Place(new ColorButton(0xFFFFFF, false, c), "textColorSwatch", {282, 343, 298, 359});
    textColorSwatch_->setAccessibleName(tr("Text color"));
    textColorSwatch_->setToolTip(tr("Text color"));
    captionEdit_ = Place(new QLineEdit(c), "captionEdit", {15, 365, 169, 388});
    captionEdit_->setValidator(new CaptionValidator(captionEdit_));
    captionEdit_->setAccessibleName(tr("Caption"));
    captionEdit_->setPlaceholderText(tr("Button text"));
    captionEdit_->installEventFilter(this);
    fontList_ = Place(new FontPopup(c), "fontList",
                      {15, 394, 169, 394 + kClosedComboHeight});
    fontList_->setAccessibleName(tr("Font"));
    fontList_->setMaxVisibleItems(kComboVisibleItems);
    styleList_ = Place(new QComboBox(c), "styleList", {15, 422, 95, 422 + kClosedComboHeight});
    styleList_->setAccessibleName(tr("Font style"));
    styleList_->addItem(tr("Regular"), kFontRegular);
    styleList_->addItem(tr("Bold"), kFontBold);
    styleList_->addItem(tr("Italic"), kFontItalic);
    styleList_->addItem(tr("Bold Italic"), kFontBold | kFontItalic);
    sizeList_ = Place(new CSizeComboBox(c), "sizeList",
                      {125, 422, 169, 422 + kClosedComboHeight});
    sizeList_->setAccessibleName(tr("Font size"));
    sizeList_->setMaxVisibleItems(kComboVisibleItems);
    nudgeLeft_ =
        MakeNudge(c, "nudgeLeft", {269, 421, 282, 434}, Qt::LeftArrow, tr("Move text left"));
    nudgeUp_ = MakeNudge(c, "nudgeUp", {285, 412, 298, 425}, Qt::UpArrow, tr("Move text up"));
    nudgeRight_ =
        MakeNudge(c, "nudgeRight", {301, 421, 314, 434}, Qt::RightArrow, tr("Move text right"));
    nudgeDown_ =
        MakeNudge(c, "nudgeDown", {285, 428, 298, 441}, Qt::DownArrow, tr("Move text down"));
    sizeValue_ = Place(new AValueWnd(c), "sizeValue", {73, 138, 123, 143});
    sizeValue_->parentheses = false;
    sizeValue_->percentSign = true;
    sizeValue_->value = 100.0f;
    hueValue_ = Place(new AValueWnd(c), "hueValue", {256, 180, 306, 185});
    hueValue_->parentheses = false;
    hueValue_->degreeSign = true;
    hueValue_->plusSign = true;
    brightnessValue_ = Place(new AValueWnd(c), "brightnessValue", {256, 217, 306, 222});
    brightnessValue_->parentheses = false;
    brightnessValue_->percentSign = true;
    brightnessValue_->oneDecimal = true;
    brightnessValue_->plusSign = true;
    preview_ = Place(new PreviewWnd(c), "preview", {142, 86, 316, 160});
    preview_->setAccessibleName(tr("Button preview"));

    // Presses in the archive and on the pictures reach the window, which
    // turns them into a style pick or a save.
    archive_->viewport()->installEventFilter(this);
    banner_->installEventFilter(this);
    for (const FormatIcon& icon : formatIcons_) icon.picture->installEventFilter(this);

    for (QSlider* slider : {sizeSlider_, hueSlider_, brightnessSlider_}) {
        connect(slider, &QSlider::valueChanged, this, [this, slider] { OnHScroll(slider); });
        connect(slider, &QSlider::sliderReleased, this, [this] { history_.BreakMerge(); });
    }
    connect(shadowCheck_, &QCheckBox::clicked, this, &TaboraWindow::OnShadowCheck);
    connect(antialiasCheck_, &QCheckBox::clicked, this, &TaboraWindow::OnAntialiasCheck);
    connect(textShadowCheck_, &QCheckBox::clicked, this, &TaboraWindow::OnTextShadowCheck);
    connect(backgroundSwatch_, &ColorButton::clicked, this, &TaboraWindow::OnBackgroundColor);
    connect(textColorSwatch_, &ColorButton::clicked, this, &TaboraWindow::OnTextColor);
    connect(nudgeLeft_, &QToolButton::clicked, this, &TaboraWindow::OnNudgeLeft);
    connect(nudgeUp_, &QToolButton::clicked, this, &TaboraWindow::OnNudgeUp);
    connect(nudgeRight_, &QToolButton::clicked, this, &TaboraWindow::OnNudgeRight);
    connect(nudgeDown_, &QToolButton::clicked, this, &TaboraWindow::OnNudgeDown);
    connect(fontList_, &QComboBox::activated, this, &TaboraWindow::OnFontChange);
    connect(styleList_, &QComboBox::activated, this, &TaboraWindow::OnStyleChange);
    connect(sizeList_, &QComboBox::activated, this, &TaboraWindow::OnSizeChange);
    connect(sizeList_->lineEdit(), &QLineEdit::returnPressed, this, &TaboraWindow::OnSizeTyped);
    connect(captionEdit_, &QLineEdit::textEdited, this, &TaboraWindow::OnCaptionChange);

    connect(archive_, &ArchiveWnd::styleActivated, this, [this](int n) { PickStyle(n); });
    CreateStatesBar();
    DescribeControls();
    ApplyTabOrder();
}

std::vector<QWidget*> TaboraWindow::TabOrder() const {
    // The numbered steps from top to bottom: the archive and the size of
    // step 1, the sliders of step 2, the swatch of step 3, the box of step 4,
    // the caption's controls of step 5 (left column, then right), the
    // format icons of step 6 from left to right.
    std::vector<QWidget*> order = {
        archive_,         sizeSlider_,     hueSlider_,       brightnessSlider_, backgroundSwatch_,
        shadowCheck_,     captionEdit_,    fontList_,        styleList_,        sizeList_,
        textColorSwatch_, autoColorButton_, antialiasCheck_, textShadowCheck_, nudgeLeft_,
        nudgeUp_,         nudgeRight_,      nudgeDown_};
    for (const FormatIcon& icon : formatIcons_) order.push_back(icon.picture);
    return order;
}

void TaboraWindow::ApplyTabOrder() {
    const std::vector<QWidget*> order = TabOrder();
    for (size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
    // Then the state bar above the editor, and the preview while it can be
    // tried: "Try it", Tab, and the preview shows its focus.
    QWidget* bar[] = {order.back(), stateList_, resetStateButton_, ringSwatch_,
                      opacitySpin_, tryItCheck_, preview_};
    for (size_t i = 0; i + 1 < std::size(bar); ++i) setTabOrder(bar[i], bar[i + 1]);
}

bool TaboraWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (press->button() == Qt::LeftButton && widget)
            OnParentNotify(widget->mapTo(client_, press->position().toPoint()));
    } else if (event->type() == QEvent::ShortcutOverride && watched == captionEdit_) {
        // The caption's own undo would fight the window's: let Ctrl+Z and
        // Ctrl+Shift+Z reach the Edit menu.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            QKeySequence(key->keyCombination()) == redoAction_->shortcut()) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TaboraWindow::closeEvent(QCloseEvent* event) {
    if (QueryQuit()) {
        preferences_.SetWindowPosition(pos());
        event->accept();
    } else
        event->ignore();
}

void TaboraWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (mime->hasUrls() && mime->urls().size() == 1 && mime->urls().front().isLocalFile())
        event->acceptProposedAction();
}

void TaboraWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    const std::string path = urls.front().toLocalFile().toStdString();
    // Finish the drop before any dialog opens.
    QMetaObject::invokeMethod(this, [this, path] { OpenFromOutside(path); }, Qt::QueuedConnection);
}

namespace {

// What the checks before shipping say about the button in the preview. A
// disabled button need not be readable, as the contrast measure has it.
std::pair<QString, QString> CaptionCheck(TaboraButton& button, bool disabled) {
    const ButtonSettings& s = button.settings();
    const double backdrop = disabled ? -1 : button.CaptionBackdropLuminance();
    const double contrast = backdrop < 0 ? 0 : ContrastRatio(ColorLuminance(s.textColor), backdrop);
    const int32_t overflow = button.CaptionOverflow();
    const double required = RequiredContrast(s.fontSize, (s.fontStyle & kFontBold) != 0);
    return {CaptionCheckHint(overflow, contrast, required),
            CaptionCheckBrief(overflow, contrast, required)};
}

}  // namespace

void TaboraWindow::RefreshPreview() {
    CommitStateEdit();
    preview_->RefreshNow();
    const std::vector<char32_t> absent = EditedButton().MissingCaptionCharacters();
    const bool missing = !absent.empty();
    const auto [hint, brief] =
        missing ? std::pair{MissingCharactersHint(absent), MissingCharactersBrief(absent)}
                : CaptionCheck(EditedButton(), editedState_ == ButtonState::Disabled);
    captionHint_->SetTexts(hint, brief);
    const QString whole = !missing ? hint : hint + tr(": drawn as the font's box");
    captionHint_->setToolTip(whole);
    captionHint_->setAccessibleDescription(whole);
    captionHint_->setVisible(!hint.isEmpty());
}

void TaboraWindow::SetModified(bool modified) {
    modified_ = modified;
    setWindowModified(modified);
    UpdateCommands();
}

void TaboraWindow::UpdateCommands() {
    saveAction_->setEnabled(!currentPath_.empty() && (modified_ || OutputsPending()));
    undoAction_->setEnabled(history_.CanUndo());
    redoAction_->setEnabled(history_.CanRedo());
}

}  // namespace tabora
