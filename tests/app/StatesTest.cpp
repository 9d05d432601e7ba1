// The states of a web button in the window: editing a state's delta with
// the usual controls, undo, saving the states and what is ticked beside the
// picture, "Try it", and the automatic caption colour.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "controls/PreviewWnd.h"
#include "imaging/ButtonFile.h"
#include "platform/File.h"
#include "render/Contrast.h"
#include "render/StatePictures.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

namespace tabora::testing {
namespace {

// A style with a body to look at, as the README's examples use.
constexpr int16_t kStyle = 12;

class StatesTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->PickStyle(kStyle);
        QTest::keyClicks(Child<QLineEdit>("captionEdit"), "Home");
    }
    // Chooses a state the way the keyboard does in the list.
    void Choose(ButtonState state) {
        auto* list = Child<QComboBox>("stateList");
        const int index = list->findData(int(state));
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    QImage Shown() { return window->preview()->grab().toImage(); }
    const StateDelta* Custom(ButtonState state) { return window->states().Custom(state); }
};

using FreshWindowStatesTest = WindowTest;

// The window as it starts, nothing chosen yet: every state can be shown.
TEST_F(FreshWindowStatesTest, EveryStateShowsBeforeAnythingIsChosen) {
    for (ButtonState state : kAllStates) {
        window->SelectState(state);
        EXPECT_EQ(window->preview()->ShownState(), state);
        EXPECT_FALSE(window->preview()->grab().isNull());
    }
    EXPECT_FALSE(window->modified());
}

TEST_F(StatesTest, EditingAStateChangesOnlyItsDelta) {
    const ButtonSettings normal = window->settings();
    const QImage normalPicture = Shown();
    Choose(ButtonState::Hover);
    EXPECT_EQ(window->editedState(), ButtonState::Hover);
    EXPECT_EQ(window->preview()->ShownState(), ButtonState::Hover);
    const QImage hoverPicture = Shown();
    EXPECT_NE(hoverPicture, normalPicture);
    // The controls show the state: the default hover is brighter.
    EXPECT_EQ(Child<QSlider>("brightnessSlider")->value(), kMaxBrightness + 50);
    EXPECT_FALSE(Child<QToolButton>("resetStateButton")->isEnabled());

    Child<QSlider>("hueSlider")->setValue(600);
    EXPECT_EQ(window->settings(), normal);  // the normal settings are untouched
    ASSERT_NE(Custom(ButtonState::Hover), nullptr);
    const ButtonSettings hover =
        StateSettings(normal, window->states().Delta(ButtonState::Hover, normal));
    EXPECT_EQ(hover.hueShift, 600);
    EXPECT_EQ(hover.brightness, 50);  // the default's lift stays with the edit
    for (ButtonState other : {ButtonState::Active, ButtonState::Focus, ButtonState::Disabled})
        EXPECT_EQ(Custom(other), nullptr);
    EXPECT_TRUE(window->modified());
    EXPECT_TRUE(Child<QToolButton>("resetStateButton")->isEnabled());
    EXPECT_NE(Shown(), hoverPicture);

    // A state is normal + delta: a change of the normal settings shows in
    // every state, the edited field stays the state's.
    Choose(ButtonState::Normal);
    EXPECT_EQ(Child<QSlider>("hueSlider")->value(), 0);
    QTest::keyClicks(Child<QLineEdit>("captionEdit"), "!");
    EXPECT_EQ(window->settings().caption, "Home!");
    const ButtonSettings after = StateSettings(
        window->settings(), window->states().Delta(ButtonState::Hover, window->settings()));
    EXPECT_EQ(after.caption, "Home!");
    EXPECT_EQ(after.hueShift, 600);

    // The state-only touches: a ring colour for focus, an opacity for
    // disabled, each shown only for its state.
    Choose(ButtonState::Focus);
    auto* ring = Child<QWidget>("ringSwatch");
    auto* opacity = Child<QSpinBox>("opacitySpin");
    EXPECT_TRUE(ring->isVisibleTo(window.get()));
    EXPECT_FALSE(opacity->isVisibleTo(window.get()));
    host.colorAnswers.push_back(MakeColor(255, 0, 0));
    QTest::mouseClick(ring, Qt::LeftButton);
    ASSERT_NE(Custom(ButtonState::Focus), nullptr);
    EXPECT_EQ(Custom(ButtonState::Focus)->focusRing, MakeColor(255, 0, 0));
    Choose(ButtonState::Disabled);
    EXPECT_FALSE(ring->isVisibleTo(window.get()));
    EXPECT_EQ(opacity->value(), 50);
    opacity->setValue(30);
    ASSERT_NE(Custom(ButtonState::Disabled), nullptr);
    EXPECT_EQ(Custom(ButtonState::Disabled)->opacity, 30);

    // Reset State gives the default back, which follows the normal settings.
    QTest::mouseClick(Child<QToolButton>("resetStateButton"), Qt::LeftButton);
    EXPECT_EQ(Custom(ButtonState::Disabled), nullptr);
    EXPECT_EQ(opacity->value(), 50);
    EXPECT_NE(Custom(ButtonState::Hover), nullptr);
}

TEST_F(StatesTest, UndoAndRedoAStateEditAndShowItsState) {
    window->OnSave();  // nothing to save under a name yet: still modified
    const DesignSnapshot start{window->settings(), window->states()};
    Choose(ButtonState::Active);
    QTest::mouseClick(Child<QCheckBox>("textShadowCheck"), Qt::LeftButton);
    const ButtonStates edited = window->states();
    ASSERT_NE(edited.Custom(ButtonState::Active), nullptr);
    Choose(ButtonState::Normal);

    // One step back, shown in the state it was made in.
    window->OnUndo();
    EXPECT_EQ(window->states(), start.states);
    EXPECT_EQ(window->settings(), start.settings);
    EXPECT_EQ(window->editedState(), ButtonState::Active);
    EXPECT_EQ(Child<QComboBox>("stateList")->currentData().toInt(), int(ButtonState::Active));
    EXPECT_EQ(Child<QCheckBox>("textShadowCheck")->isChecked(),
              StateSettings(start.settings, start.states.Delta(ButtonState::Active, start.settings))
                  .textShadow);
    window->OnRedo();
    EXPECT_EQ(window->states(), edited);
    EXPECT_EQ(Child<QCheckBox>("textShadowCheck")->isChecked(), !start.settings.textShadow);

    // Opacity steps from the keyboard merge into one undo step.
    Choose(ButtonState::Disabled);
    auto* opacity = Child<QSpinBox>("opacitySpin");
    opacity->setFocus();
    for (int i = 0; i < 5; ++i) QTest::keyClick(opacity, Qt::Key_Down);
    EXPECT_EQ(window->states().Custom(ButtonState::Disabled)->opacity, 45);
    window->OnUndo();
    EXPECT_EQ(window->states().Custom(ButtonState::Disabled), nullptr);
    EXPECT_EQ(opacity->value(), 50);
}

TEST_F(StatesTest, SaveKeepsTheStatesAndAStatelessButtonSavesAsBefore) {
    // No states touched: the bytes a core save without states writes.
    ScriptOptionsDialogs();
    host.fileAnswers.push_back(PathIn("plain.png"));
    window->SaveAsFormat(ImageFormat::Png);
    TaboraButton reference(GetArchive());
    reference.ApplySettings(window->settings());
    ASSERT_TRUE(SaveButton(reference, PathIn("reference.png")).saved());
    EXPECT_EQ(ReadWholeFile(PathIn("plain.png")), ReadWholeFile(PathIn("reference.png")));
    // Looking at a state changes nothing either.
    Choose(ButtonState::Focus);
    EXPECT_FALSE(window->modified());

    // Edited states go into the file and come back with it.
    Choose(ButtonState::Hover);
    QTest::mouseClick(Child<QCheckBox>("shadowCheck"), Qt::LeftButton);
    ASSERT_TRUE(window->modified());
    window->OnSave();
    EXPECT_FALSE(window->modified());
    TaboraButton opened(GetArchive());
    const OpenResult result = OpenButton(opened, PathIn("plain.png"));
    ASSERT_TRUE(result.opened());
    EXPECT_EQ(result.states, window->states());
    EXPECT_FALSE(result.states.AllDefault());
    EXPECT_NE(ReadWholeFile(PathIn("plain.png")), ReadWholeFile(PathIn("reference.png")));

    // Opening it in a fresh window brings the states back, unmodified.
    window = std::make_unique<TaboraWindow>();
    ASSERT_TRUE(window->OpenFromOutside(PathIn("plain.png")));
    EXPECT_EQ(window->states(), result.states);
    EXPECT_FALSE(window->modified());

    // A file's own delta equal to today's default stays its own when its
    // state is only looked at.
    ButtonStates pinned;
    pinned.SetCustom(ButtonState::Hover, DefaultStateDelta(ButtonState::Hover, window->settings()));
    ASSERT_TRUE(SaveButton(window->button(), PathIn("pinned.png"), true, &pinned).saved());
    ASSERT_TRUE(window->OpenFromOutside(PathIn("pinned.png")));
    Choose(ButtonState::Hover);
    EXPECT_EQ(window->states(), pinned);
    EXPECT_FALSE(window->modified());
}

TEST_F(StatesTest, TickedOutputsWriteStateFilesSpriteAndStyleSheet) {
    Child<QAction>("spriteAction")->trigger();
    Child<QAction>("cssAction")->trigger();
    Choose(ButtonState::Hover);
    Child<QSlider>("hueSlider")->setValue(300);
    ScriptOptionsDialogs();
    host.fileAnswers.push_back(PathIn("home.png"));
    window->SaveAsFormat(ImageFormat::Png);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(FileHead(PathIn("home-sprite.png"), 4), "\x89PNG");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(PathIn("home-hover.png"))));
    const std::string css = ReadWholeFile(PathIn("home.css"));
    EXPECT_NE(css.find(".home:hover{"), std::string::npos) << css;
    EXPECT_NE(css.find("home-sprite.png"), std::string::npos) << css;

    // The sprite and the normal picture carry the states; each state file
    // its own state's settings.
    Child<QAction>("stateFilesAction")->trigger();
    host.fileAnswers.push_back(PathIn("home.png"));
    window->SaveAsFormat(ImageFormat::Png);
    for (const char* name : {"home.png", "home-sprite.png"}) {
        TaboraButton opened(GetArchive());
        const OpenResult result = OpenButton(opened, PathIn(name));
        ASSERT_TRUE(result.opened()) << name;
        EXPECT_EQ(result.states, window->states()) << name;
    }
    TaboraButton hover(GetArchive());
    ASSERT_TRUE(OpenButton(hover, PathIn("home-hover.png")).opened());
    EXPECT_EQ(hover.settings().hueShift, 300);
    EXPECT_EQ(FileHead(PathIn("home-disabled.png"), 4), "\x89PNG");
    // Every state's picture is the one rectangle all share.
    const QImage normalFile(QString::fromStdString(PathIn("home.png")));
    const QImage focusFile(QString::fromStdString(PathIn("home-focus.png")));
    EXPECT_EQ(normalFile.size(), focusFile.size());

    // Remembered for the next window.
    window = std::make_unique<TaboraWindow>();
    EXPECT_TRUE(window->stateOutputs().files && window->stateOutputs().sprite &&
                window->stateOutputs().css);
    EXPECT_TRUE(Child<QAction>("cssAction")->isChecked());

    // A style sheet that cannot be written is named in the message; the
    // pictures before it were saved.
    ASSERT_TRUE(QDir(QString::fromStdString(PathIn(""))).mkdir(QStringLiteral("blocked.css")));
    host.fileAnswers.push_back(PathIn("blocked.png"));
    window->SaveAsFormat(ImageFormat::Png);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("blocked.css"), std::string::npos) << host.messages[0];
    EXPECT_TRUE(QFile::exists(QString::fromStdString(PathIn("blocked-sprite.png"))));
    EXPECT_TRUE(window->modified() || window->currentPath() != PathIn("blocked.png"));
}

// Ticking an output changes what Save writes, not the design: Save (and
// Ctrl+S) writes it, with nothing to undo and nothing to ask on quitting.
TEST_F(StatesTest, TickingAnOutputLetsSaveWriteIt) {
    ScriptOptionsDialogs();
    host.fileAnswers.push_back(PathIn("home.png"));
    window->SaveAsFormat(ImageFormat::Png);
    auto* save = Child<QAction>("saveAction");
    auto* undo = Child<QAction>("undoAction");
    ASSERT_FALSE(save->isEnabled());
    const bool couldUndo = undo->isEnabled();
    const std::string sprite = PathIn("home-sprite.png");
    ASSERT_FALSE(QFile::exists(QString::fromStdString(sprite)));

    Child<QAction>("spriteAction")->trigger();
    EXPECT_TRUE(save->isEnabled());
    EXPECT_FALSE(window->modified());
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(undo->isEnabled(), couldUndo);
    EXPECT_TRUE(window->QueryQuit());
    window->show();
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(FileHead(sprite, 4), "\x89PNG");
    EXPECT_FALSE(save->isEnabled());

    // Unticked, the picture is no longer cut to the states' shared size:
    // Save has that to write. Ticked again before saving, nothing.
    Child<QAction>("spriteAction")->trigger();
    EXPECT_TRUE(save->isEnabled());
    Child<QAction>("spriteAction")->trigger();
    EXPECT_FALSE(save->isEnabled());
    // A button never saved has no name for Save to write to.
    window = std::make_unique<TaboraWindow>();
    Child<QAction>("cssAction")->trigger();
    EXPECT_FALSE(Child<QAction>("saveAction")->isEnabled());
}

TEST_F(StatesTest, TryItFollowsThePointerAndTheKeyboard) {
    PreviewWnd* preview = window->preview();
    Choose(ButtonState::Disabled);
    auto* tryIt = Child<QCheckBox>("tryItCheck");
    QTest::mouseClick(tryIt, Qt::LeftButton);
    ASSERT_TRUE(preview->TryIt());
    EXPECT_EQ(preview->ShownState(), ButtonState::Normal);
    const QImage rest = Shown();

    const QPointF middle(preview->width() / 2.0, preview->height() / 2.0);
    QEnterEvent enter(middle, middle, preview->mapToGlobal(middle));
    QApplication::sendEvent(preview, &enter);
    EXPECT_EQ(preview->ShownState(), ButtonState::Hover);
    EXPECT_NE(Shown(), rest);
    QTest::mousePress(preview, Qt::LeftButton, {}, middle.toPoint());
    EXPECT_EQ(preview->ShownState(), ButtonState::Active);
    QTest::mouseRelease(preview, Qt::LeftButton, {}, middle.toPoint());
    EXPECT_EQ(preview->ShownState(), ButtonState::Hover);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(preview, &leave);
    EXPECT_EQ(preview->ShownState(), ButtonState::Normal);
    EXPECT_EQ(Shown(), rest);

    // Tab from "Try it" reaches the preview, which shows its focus; Space
    // presses it.
    tryIt->setFocus(Qt::TabFocusReason);
    QTest::keyClick(tryIt, Qt::Key_Tab);
    ASSERT_TRUE(preview->hasFocus());
    EXPECT_EQ(preview->ShownState(), ButtonState::Focus);
    QTest::keyPress(preview, Qt::Key_Space);
    EXPECT_EQ(preview->ShownState(), ButtonState::Active);
    QTest::keyRelease(preview, Qt::Key_Space);
    EXPECT_EQ(preview->ShownState(), ButtonState::Focus);

    // Off again: the chosen state, and Tab passes the preview by.
    tryIt->setFocus(Qt::TabFocusReason);
    QTest::keyClick(tryIt, Qt::Key_Space);
    EXPECT_FALSE(preview->TryIt());
    EXPECT_EQ(preview->ShownState(), ButtonState::Disabled);
    EXPECT_FALSE(preview->focusPolicy() & Qt::TabFocus);
}

TEST_F(StatesTest, AutoPicksTheCaptionColourTheCommandLineWouldInOneStep) {
    TaboraButton core(GetArchive());
    core.ApplySettings(window->settings());
    const Color better = BetterCaptionColor(core.CaptionBackdropLuminance());
    const Color worse =
        better == MakeColor(0, 0, 0) ? MakeColor(255, 255, 255) : MakeColor(0, 0, 0);
    host.colorAnswers.push_back(worse);
    window->OnTextColor();
    ASSERT_EQ(window->settings().textColor, worse);

    QTest::mouseClick(Child<QToolButton>("autoColorButton"), Qt::LeftButton);
    EXPECT_EQ(window->settings().textColor, better);
    window->OnUndo();
    EXPECT_EQ(window->settings().textColor, worse);

    // In a state it is that state's caption colour.
    Choose(ButtonState::Hover);
    QTest::mouseClick(Child<QToolButton>("autoColorButton"), Qt::LeftButton);
    EXPECT_EQ(window->settings().textColor, worse);
    ASSERT_NE(Custom(ButtonState::Hover), nullptr);
    EXPECT_TRUE(Custom(ButtonState::Hover)->patch.Has(FieldNamed("textColor")));
}

// With the states going out beside the button, Auto in Normal weighs them
// as the command line does: a darkened body with a hover lifted to the top
// reads best in white at rest, but black holds up better over both.
TEST_F(StatesTest, AutoWeighsTheStatesThatAreSavedWithTheButton) {
    Child<QSlider>("brightnessSlider")->setValue(0);
    Choose(ButtonState::Hover);
    Child<QSlider>("brightnessSlider")->setValue(2 * kMaxBrightness);
    Choose(ButtonState::Normal);

    TaboraButton core(GetArchive());
    core.ApplySettings(window->settings());
    ButtonSettings expected = window->settings();
    expected.textColor = BetterCaptionColor(core.CaptionBackdropLuminance());
    const Color atRest = expected.textColor;
    StateRenderer renderer(GetArchive());
    const StateSet set = renderer.Render(expected, window->states(), kAllStates, 1, false);
    ChooseCaptionColorForStates(set.pictures, expected);
    ASSERT_NE(expected.textColor, atRest);

    auto* autoButton = Child<QToolButton>("autoColorButton");
    QTest::mouseClick(autoButton, Qt::LeftButton);
    EXPECT_EQ(window->settings().textColor, atRest);  // nothing ticked: the normal state alone
    StateOutputs outputs;
    outputs.sprite = true;
    window->SetStateOutputs(outputs);
    QTest::mouseClick(autoButton, Qt::LeftButton);
    EXPECT_EQ(window->settings().textColor, expected.textColor);
}

}  // namespace
}  // namespace tabora::testing
