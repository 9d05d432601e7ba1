#include <gtest/gtest.h>

#include <set>
#include <string>

#include "io/SettingsFields.h"
#include "tests/support/SampleSettings.h"

using namespace tabora;

namespace {

// Settings with every field away from its default.
ButtonSettings Unusual() {
    ButtonSettings s = test::SampleSettings();
    s.textShadow = false;
    s.fontName = "DejaVu Sans";
    s.fontStyle = kFontRegular | kFontBold | kFontItalic;
    s.optimize = true;
    s.lossy = true;
    return s;
}

}  // namespace

// A field added to the settings but not to the table would be lost by every
// reader and writer of the settings form: copying every row must copy all.
TEST(SettingsFields, TheRowsCoverEveryField) {
    const ButtonSettings from = Unusual();
    ButtonSettings to;
    to.fontStyle = kFontRegular;  // the regular mark is the style list's, not a field
    for (const SettingField& field : SettingFields()) field.set(to, field.get(from));
    EXPECT_EQ(to, from);

    // And each row touches only its own field.
    for (const SettingField& field : SettingFields()) {
        ButtonSettings one;
        field.set(one, field.get(from));
        ButtonSettings back = one;
        field.set(back, field.get(ButtonSettings{}));
        EXPECT_EQ(back, ButtonSettings{}) << field.key;
        EXPECT_NE(one, ButtonSettings{}) << field.key;
    }
}

TEST(SettingsFields, KeysOptionsAndPlacesAreEachUsedOnce) {
    std::set<std::string> keys, options;
    std::set<int> places;
    for (const SettingField& field : SettingFields()) {
        EXPECT_TRUE(keys.insert(field.key).second) << field.key;
        EXPECT_EQ(FindField(field.key), &field);
        ASSERT_NE(field.option, nullptr) << field.key;
        EXPECT_TRUE(options.insert(field.option).second) << field.option;
        if (field.offOption) {
            EXPECT_TRUE(options.insert(field.offOption).second) << field.offOption;
        }
        EXPECT_EQ(field.form == OptionForm::Switch, field.offOption != nullptr) << field.key;
        EXPECT_TRUE(places.insert(field.optionPosition).second) << field.key;
        EXPECT_FALSE(field.help.empty()) << field.key;
        EXPECT_EQ(field.form == OptionForm::Value, !field.typeName.empty()) << field.key;
    }
    EXPECT_EQ(*places.begin(), 0);
    EXPECT_EQ(*places.rbegin(), int(places.size()) - 1);
    EXPECT_EQ(FindField("colour"), nullptr);
}

TEST(SettingsFields, DefaultsLieWithinTheRanges) {
    const ButtonSettings defaults;
    for (const SettingField& field : SettingFields()) {
        if (field.kind != FieldKind::Integer) continue;
        const int32_t value = std::get<int32_t>(field.get(defaults));
        EXPECT_GE(value, field.min) << field.key;
        EXPECT_LE(value, field.max) << field.key;
        EXPECT_GE(value, field.optionMin) << field.key;
        EXPECT_LE(value, field.optionMax) << field.key;
    }
    // The ranges come from the named limits, and so do the help lines.
    const SettingField& hue = FieldNamed("hueShift");
    EXPECT_EQ(hue.max, kMaxHueShift);
    EXPECT_EQ(hue.help, "Hue shift of the body, 0..4096");
    EXPECT_EQ(hue.typeName, "0..4096");
    EXPECT_EQ(FieldNamed("buttonSize").max, kLargestButtonSize);
    EXPECT_EQ(FieldNamed("jpegQuality").max, kMaxJpegQuality);
    EXPECT_EQ(FieldNamed("styleNumber").help, "Style number, 0..930 (0: no style)");
}

TEST(SettingsPatch, HoldsAnySubsetAndTheLaterValueWins) {
    const SettingField& caption = FieldNamed("caption");
    const SettingField& bold = FieldNamed("bold");
    const SettingField& offset = FieldNamed("textOffset");
    SettingsPatch first;
    EXPECT_TRUE(first.Empty());
    first.Set(caption, std::string("Home"));
    first.Set(bold, true);
    SettingsPatch later;
    later.Set(caption, std::string("About"));
    later.Set(offset, Point{1, 2});
    first.Merge(later);
    EXPECT_FALSE(first.Empty());
    ASSERT_TRUE(first.Has(caption));
    EXPECT_EQ(std::get<std::string>(*first.Find(caption)), "About");
    EXPECT_TRUE(first.Has(bold));
    EXPECT_FALSE(first.Has(FieldNamed("italic")));

    // Only the patched fields change; bold is one bit of the font style.
    ButtonSettings s = Unusual();
    s.fontStyle = kFontItalic;
    ButtonSettings expected = s;
    first.ApplyTo(s);
    expected.caption = "About";
    expected.textOffset = {1, 2};
    expected.fontStyle = kFontItalic | kFontBold;
    EXPECT_EQ(s, expected);
}

TEST(SettingsFields, ExportOptionsAreNotPartOfTheDesign) {
    std::set<std::string> exportOptions;
    for (const SettingField& field : SettingFields()) {
        if (field.exportOption) exportOptions.insert(field.key);
    }
    EXPECT_EQ(exportOptions,
              (std::set<std::string>{"removeBackground", "jpegQuality", "includeShadowArea",
                                     "optimize", "lossy"}));

    const ButtonSettings design = Unusual();
    ButtonSettings options;
    options.jpegQuality = 5;
    const ButtonSettings mixed = WithExportOptionsOf(design, options);
    EXPECT_EQ(mixed.jpegQuality, 5);
    EXPECT_FALSE(mixed.removeBackground);
    EXPECT_EQ(mixed.caption, "Old file");
    EXPECT_TRUE(SameDesign(design, mixed));
    ButtonSettings other = mixed;
    other.hueShift = 1;
    EXPECT_FALSE(SameDesign(design, other));
}
