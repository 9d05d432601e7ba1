#include <gtest/gtest.h>

#include <vector>

#include "io/ButtonData.h"
#include "io/ButtonStates.h"
#include "io/MacStream.h"
#include "tests/support/SampleSettings.h"

using namespace tabora;
using tabora::test::SampleSettings;

namespace {

std::vector<uint8_t> Bytes(const PtrMacStream& s) { return {s.Data(), s.Data() + s.Length()}; }

std::vector<uint8_t> Payload(const ButtonSettings& settings, const ButtonStates& states) {
    PtrMacStream out;
    WriteSettings(out, settings, states);
    return Bytes(out);
}

// States away from their defaults in every way a table can say.
ButtonStates CustomStates() {
    ButtonStates states;
    StateDelta hover;
    hover.patch.Set(FieldNamed("brightness"), int32_t(90));
    hover.patch.Set(FieldNamed("textColor"), MakeColor(255, 238, 0));
    hover.patch.Set(FieldNamed("caption"), std::string("Über"));
    states.SetCustom(ButtonState::Hover, hover);
    StateDelta focus;
    focus.focusRing = MakeColor(255, 0, 0);
    focus.patch.Set(FieldNamed("textOffset"), Point{-3, 4});
    focus.patch.Set(FieldNamed("shadow"), true);
    states.SetCustom(ButtonState::Focus, focus);
    StateDelta disabled;
    disabled.opacity = 35;
    disabled.patch.Set(FieldNamed("styleNumber"), int32_t(40));
    states.SetCustom(ButtonState::Disabled, disabled);
    return states;
}

}  // namespace

TEST(ButtonStates, DefaultStatesKeepTheOldPayloadByteForByte) {
    const ButtonSettings settings = SampleSettings();
    PtrMacStream old;
    WriteSettings(old, settings);
    EXPECT_EQ(Payload(settings, ButtonStates{}), Bytes(old));
    EXPECT_EQ(Bytes(old)[1], 0x03);
    // A state given exactly its default is no change either, once cleared.
    ButtonStates states;
    states.SetCustom(ButtonState::Hover, DefaultStateDelta(ButtonState::Hover, settings));
    EXPECT_FALSE(states.AllDefault());
    states.ClearCustom(ButtonState::Hover);
    EXPECT_EQ(Payload(settings, states), Bytes(old));
}

TEST(ButtonStates, TheStateTableComesBackWhole) {
    const ButtonSettings settings = SampleSettings();
    const ButtonStates states = CustomStates();
    const std::vector<uint8_t> bytes = Payload(settings, states);
    EXPECT_EQ(bytes[0], 0x01);
    EXPECT_EQ(bytes[1], 0x04);

    PtrMacStream in(bytes.data(), uint32_t(bytes.size()), false);
    ButtonSettings read;
    ButtonStates readStates;
    EXPECT_EQ(ReadSettings(in, read, readStates), kPayloadStates);
    EXPECT_EQ(read, settings);
    EXPECT_EQ(readStates, states);
    EXPECT_EQ(in.Position(), bytes.size());
}

// A reader that knows 0x0103 reads the same fields of a 0x0104 payload and
// stops where the table begins: the normal state, as a file of today.
TEST(ButtonStates, AnOlderReaderReadsTheNormalStateAndLeavesTheTable) {
    const ButtonSettings settings = SampleSettings();
    const std::vector<uint8_t> with = Payload(settings, CustomStates());
    PtrMacStream plain;
    WriteSettings(plain, settings);
    const std::vector<uint8_t> without = Bytes(plain);
    // Everything after the version is the 0x0103 payload, unchanged.
    ASSERT_GT(with.size(), without.size());
    EXPECT_TRUE(std::equal(without.begin() + 2, without.end(), with.begin() + 2));

    PtrMacStream in(with.data(), uint32_t(with.size()), false);
    ButtonSettings read;
    EXPECT_EQ(ReadSettings(in, read), kPayloadStates);
    EXPECT_EQ(read, settings);
    EXPECT_EQ(in.Position(), without.size());
}

TEST(ButtonStates, ADamagedTableLeavesDefaultStatesAndTheNormalSettings) {
    const ButtonSettings settings = SampleSettings();
    const std::vector<uint8_t> whole = Payload(settings, CustomStates());
    PtrMacStream plain;
    WriteSettings(plain, settings);
    const size_t tableAt = plain.Length();
    // Cut anywhere inside the table.
    for (size_t end = tableAt; end < whole.size(); ++end) {
        PtrMacStream in(whole.data(), uint32_t(end), false);
        ButtonSettings read;
        ButtonStates states = CustomStates();
        ASSERT_TRUE(ReadSettings(in, read, states)) << end;
        EXPECT_EQ(read, settings) << end;
        EXPECT_TRUE(states.AllDefault()) << end;
    }
    // A count no table can have.
    std::vector<uint8_t> bad = whole;
    bad[tableAt] = 0x7F;
    PtrMacStream in(bad.data(), uint32_t(bad.size()), false);
    ButtonSettings read;
    ButtonStates states;
    ASSERT_TRUE(ReadSettings(in, read, states));
    EXPECT_TRUE(states.AllDefault());
}

// What a newer writer may add: a state, a field or a kind this reader does
// not know. Unknown states and keys are stepped over; an unknown kind, whose
// size cannot be told, drops the table.
TEST(ButtonStates, UnknownStatesAndKeysAreSkippedAndValuesClamped) {
    PtrMacStream table;
    table.WriteShort(2);
    table.WriteShort(9);  // a state of a later version
    table.WriteShort(0);
    table.WriteRGBColor(0);
    table.WriteShort(100);
    table.WriteShort(1);
    table.WritePString("glow");
    table.WriteShort(int32_t(FieldKind::Integer));
    table.WriteLong(7);
    table.WriteShort(int32_t(ButtonState::Active));
    table.WriteShort(0);
    table.WriteRGBColor(0);
    table.WriteShort(250);  // opacity beyond 100
    table.WriteShort(3);
    table.WritePString("sparkle");  // a field of a later version
    table.WriteShort(int32_t(FieldKind::Text));
    table.WritePString("yes");
    table.WritePString("brightness");
    table.WriteShort(int32_t(FieldKind::Integer));
    table.WriteLong(5000);
    table.WritePString("jpegQuality");  // the file's, never a state's
    table.WriteShort(int32_t(FieldKind::Integer));
    table.WriteLong(10);
    PtrMacStream in(table.Data(), table.Length(), false);
    const std::optional<ButtonStates> states = ReadStateTable(in);
    ASSERT_TRUE(states);
    const StateDelta* active = states->Custom(ButtonState::Active);
    ASSERT_TRUE(active);
    EXPECT_EQ(active->opacity, kOpaque);
    ASSERT_TRUE(active->patch.Find(FieldNamed("brightness")));
    EXPECT_EQ(std::get<int32_t>(*active->patch.Find(FieldNamed("brightness"))), kMaxBrightness);
    EXPECT_FALSE(active->patch.Has(FieldNamed("jpegQuality")));

    PtrMacStream odd;
    odd.WriteShort(1);
    odd.WriteShort(int32_t(ButtonState::Hover));
    odd.WriteShort(0);
    odd.WriteRGBColor(0);
    odd.WriteShort(100);
    odd.WriteShort(1);
    odd.WritePString("brightness");
    odd.WriteShort(77);  // a kind of value this reader cannot size
    odd.WriteLong(1);
    PtrMacStream oddIn(odd.Data(), odd.Length(), false);
    EXPECT_FALSE(ReadStateTable(oddIn));
}

TEST(ButtonStates, DefaultsFollowTheNormalSettings) {
    ButtonSettings normal;
    normal.brightness = 190;
    normal.textOffset = {5, -2};
    const ButtonSettings hover = StateSettings(normal, DefaultStateDelta(ButtonState::Hover, normal));
    EXPECT_EQ(hover.brightness, kMaxBrightness);  // brighter, within range
    const ButtonSettings pressed = StateSettings(normal, DefaultStateDelta(ButtonState::Active, normal));
    EXPECT_LT(pressed.brightness, normal.brightness);
    EXPECT_FALSE(pressed.shadow);
    EXPECT_EQ(pressed.textOffset, (Point{6, -1}));
    EXPECT_TRUE(DefaultStateDelta(ButtonState::Focus, normal).focusRing);
    EXPECT_EQ(DefaultStateDelta(ButtonState::Disabled, normal).opacity, 50);
    EXPECT_TRUE(DefaultStateDelta(ButtonState::Normal, normal).patch.Empty());

    EXPECT_EQ(StateNamed("pressed"), ButtonState::Active);
    EXPECT_EQ(StateNamed("active"), ButtonState::Active);
    EXPECT_FALSE(StateNamed("Hover"));
    for (ButtonState s : kAllStates) EXPECT_EQ(StateNamed(StateName(s)), s);
}

TEST(ButtonStates, AnEditKeepsWhatTheStatePinnedAndAddsWhatDiffers) {
    ButtonSettings normal;
    normal.brightness = 20;
    const StateDelta hover = DefaultStateDelta(ButtonState::Hover, normal);
    ButtonSettings edited = StateSettings(normal, hover);
    edited.hueShift = 300;
    edited.jpegQuality = 10;  // an export option is the file's, never a state's
    const StateDelta delta = EditedDelta(normal, edited, hover);
    ButtonSettings expected = normal;
    expected.brightness = 20 + 50;
    expected.hueShift = 300;
    EXPECT_EQ(StateSettings(normal, delta), expected);
    EXPECT_FALSE(delta.patch.Has(FieldNamed("caption")));

    // A pinned field stays pinned when edited back to the normal value, and
    // the state-only touches come along.
    StateDelta focus = DefaultStateDelta(ButtonState::Focus, normal);
    focus.patch.Set(FieldNamed("shadow"), false);
    focus.opacity = 80;
    ButtonSettings backToNormal = StateSettings(normal, focus);
    backToNormal.shadow = normal.shadow;
    const StateDelta kept = EditedDelta(normal, backToNormal, focus);
    EXPECT_TRUE(kept.patch.Has(FieldNamed("shadow")));
    EXPECT_EQ(kept.focusRing, focus.focusRing);
    EXPECT_EQ(kept.opacity, 80);

    // A delta equal to the default goes back to following the normal settings.
    ButtonStates states;
    states.SetDelta(ButtonState::Hover, delta, normal);
    EXPECT_TRUE(states.Custom(ButtonState::Hover));
    states.SetDelta(ButtonState::Hover, hover, normal);
    EXPECT_TRUE(states.AllDefault());
    normal.brightness = -100;
    EXPECT_EQ(StateSettings(normal, states.Delta(ButtonState::Hover, normal)).brightness, -50);
}
