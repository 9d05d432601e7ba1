#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/File.h"
#include "tests/cli/CliUnderTest.h"
#include "tests/support/HostileCorpus.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// Appended: g++ 12 warns (wrongly) about "text" + std::to_string(n).
std::string Numbered(std::string prefix, size_t n) {
    prefix += std::to_string(n);
    return prefix;
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tabora-cli-XXXXXX").string();
        dir_ = ::mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    Result Run(const std::vector<std::string>& args) const {
        std::string command = Quote(tabora::test::CliUnderTest());
        for (const std::string& a : args) command.append(" ").append(Quote(a));
        command.append(" >").append(Quote(Path(".out")));
        command.append(" 2>").append(Quote(Path(".err")));
        Result r;
        int raw = std::system(command.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = tabora::ReadWholeFile(Path(".out"));
        r.err = tabora::ReadWholeFile(Path(".err"));
        fs::remove(Path(".out"));
        fs::remove(Path(".err"));
        return r;
    }

    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name)) << text;
    }

    json Inspect(const std::string& file) const {
        Result r = Run({"inspect", file, "--json"});
        EXPECT_EQ(r.status, 0) << r.err;
        return json::parse(r.out);
    }

    size_t FileCount() const {
        return size_t(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
};

}  // namespace

TEST_F(Cli, UsageErrorsExitTwoAndNameTheOptionAndItsRange) {
    struct Case {
        std::vector<std::string> args;
        std::string mention;
    };
    const std::string out = Path("b.png");
    const std::vector<Case> cases = {
        {{}, "subcommand"},
        {{"paint"}, "paint"},
        {{"render"}, "--output"},
        {{"render", "-o", out, "--hue", "5000"}, "--hue must be an integer in 0..4096"},
        {{"render", "-o", out, "--brightness", "-206"}, "-205..205"},
        {{"render", "-o", out, "--quality", "101"}, "--quality must be an integer in 0..100"},
        {{"render", "-o", out, "--quality", "abc"}, "--quality"},
        {{"render", "-o", out, "--style", "931"}, "--style must be an integer in 0..930"},
        {{"render", "-o", out, "--font-size", "0"}, "--font-size must be an integer in 1..300"},
        {{"render", "-o", out, "--style", "12", "--size", "19"},
         "--size must be an integer in 20.."},
        // However absurd the number, the message gives the style's own range.
        {{"render", "-o", out, "--style", "12", "--size", "99999999999999999999"},
         "--size must be an integer in 20..420 for style 12"},
        {{"render", "-o", out, "--style", "12", "--size", "-5"},
         "--size must be an integer in 20..420 for style 12"},
        {{"render", "-o", out, "--size", "500"},
         "--size must be an integer in 20..200 for style 0"},
        {{"render", "-o", out, "--text-color", "12345"}, "--text-color must be a colour RRGGBB"},
        {{"render", "-o", out, "--background", "#GG0000"}, "--background"},
        {{"render", "-o", out, "--offset", "3"}, "--offset"},
        {{"render", "-o", out, "--offset", "3,1001"},
         "--offset Y must be an integer in -1000..1000"},
        {{"render", "-o", out, "--shadow", "--no-shadow"}, "--no-shadow"},
        {{"render", "-o", out, "--caption", std::string(256, 'x')},
         "--caption may hold at most 255 bytes"},
        {{"render", "-o", Path("b.tiff")}, "gif, png, jpg, bmp or webp"},
        {{"render", "-o", Path("b")}, "gif, png, jpg, bmp or webp"},
        {{"style", "0", "-o", out}, "N must be an integer in 1..930"},
        {{"style", "12", "-o", Path("s.gif")}, ".png"},
        {{"batch", Path("none.json"), "-j", "0"}, "-j must be an integer in 1..256"},
    };
    for (const Case& c : cases) {
        Result r = Run(c.args);
        std::string shown = c.args.empty() ? "(none)" : c.args[0] + (c.args.size() > 1 ? " " + c.args.back() : "");
        EXPECT_EQ(r.status, 2) << shown << "\n" << r.err;
        EXPECT_NE(r.err.find(c.mention), std::string::npos) << shown << "\n" << r.err;
        EXPECT_TRUE(r.out.empty()) << shown;
    }
    // Nothing was written by any of them.
    EXPECT_EQ(FileCount(), 0u);
}

TEST_F(Cli, EveryCommandHasHelp) {
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
             {"--help"}, {"render", "--help"}, {"inspect", "--help"}, {"styles", "--help"},
             {"style", "--help"}, {"batch", "--help"}}) {
        Result r = Run(args);
        EXPECT_EQ(r.status, 0) << args[0];
        EXPECT_NE(r.out.find("Usage"), std::string::npos) << args[0];
    }
    EXPECT_NE(Run({"render", "--help"}).out.find("--include-shadow-area"), std::string::npos);
}

TEST_F(Cli, RenderThenInspectRoundTripsInEveryFormat) {
    for (const char* name : {"a.gif", "b.PNG", "c.jpg", "d.Bmp", "e.jpeg"}) {
        Result r = Run({"render", "-o", Path(name), "--style", "12", "--caption", "Über uns & <more>",
                        "--font", "DejaVu Serif", "--font-size", "13", "--bold", "--italic",
                        "--text-color", "#ffcc00", "--background", "102030", "--hue", "1234",
                        "--brightness", "-56", "--size", "230", "--no-shadow", "--no-text-shadow",
                        "--antialias", "--offset", "3,-2", "--remove-background",
                        "--include-shadow-area", "--quality", "0"});
        ASSERT_EQ(r.status, 0) << name << r.err;
        json j = Inspect(Path(name));
        const std::vector<std::string> keys = {
            "payloadVersion", "format", "styleNumber", "backgroundColor", "textColor", "hueShift",
            "brightness", "buttonSize", "shadow", "antialias", "textShadow", "fontName", "fontSize",
            "bold", "italic", "caption", "textOffset", "removeBackground", "jpegQuality",
            "includeShadowArea"};
        ASSERT_EQ(j.size(), keys.size());
        for (const std::string& key : keys) EXPECT_TRUE(j.contains(key)) << key;
        EXPECT_EQ(j["payloadVersion"], 0x0103);
        const std::string ext = tabora::ExtensionOf(name);
        const std::string lower = ext == "PNG" ? "png" : ext == "Bmp" ? "bmp" : ext == "jpg" ? "jpeg" : ext;
        EXPECT_EQ(j["format"], lower);
        EXPECT_EQ(j["styleNumber"], 12);
        EXPECT_EQ(j["backgroundColor"], "#102030");
        EXPECT_EQ(j["textColor"], "#FFCC00");
        EXPECT_EQ(j["hueShift"], 1234);
        EXPECT_EQ(j["brightness"], -56);
        EXPECT_EQ(j["buttonSize"], 230);
        EXPECT_EQ(j["shadow"], false);
        EXPECT_EQ(j["antialias"], true);
        EXPECT_EQ(j["textShadow"], false);
        EXPECT_EQ(j["fontName"], "DejaVu Serif");
        EXPECT_EQ(j["fontSize"], 13);
        EXPECT_EQ(j["bold"], true);
        EXPECT_EQ(j["italic"], true);
        EXPECT_EQ(j["caption"], "Über uns & <more>");
        EXPECT_EQ(j["textOffset"], (json{{"x", 3}, {"y", -2}}));
        EXPECT_EQ(j["removeBackground"], true);
        EXPECT_EQ(j["jpegQuality"], 0);
        EXPECT_EQ(j["includeShadowArea"], true);
    }
    // The plain form shows the same settings, one per line.
    Result plain = Run({"inspect", Path("a.gif")});
    EXPECT_EQ(plain.status, 0);
    EXPECT_NE(plain.out.find("caption:"), std::string::npos);
}

// ".jpeg" names a JPEG in a batch too, and such a file reads back.
TEST_F(Cli, JpegExtensionInABatch) {
    Write("jpeg.json", R"({"buttons": [{"output": "one.jpeg", "hueShift": 77},
                                      {"output": "two.JPEG"}]})");
    Result r = Run({"batch", Path("jpeg.json")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Inspect(Path("one.jpeg"))["hueShift"], 77);
    EXPECT_EQ(Inspect(Path("two.JPEG"))["format"], "jpeg");
}

// A style named without a size starts at the style's default size, as a
// pick in the window's archive does; a size given wins.
TEST_F(Cli, AStyleWithoutASizeStartsAtItsDefaultSize) {
    ASSERT_EQ(Run({"render", "-o", Path("a.png"), "--style", "12"}).status, 0);
    EXPECT_EQ(Inspect(Path("a.png"))["buttonSize"], 312);
    Write("s.json", R"({"styleNumber": 12})");
    ASSERT_EQ(Run({"render", "-o", Path("b.png"), "--settings", Path("s.json")}).status, 0);
    EXPECT_EQ(Inspect(Path("b.png"))["buttonSize"], 312);
    ASSERT_EQ(Run({"render", "-o", Path("c.png"), "--style", "12", "--size", "150"}).status, 0);
    EXPECT_EQ(Inspect(Path("c.png"))["buttonSize"], 150);
    // Without a style there is nothing to widen.
    ASSERT_EQ(Run({"render", "-o", Path("d.png")}).status, 0);
    EXPECT_EQ(Inspect(Path("d.png"))["buttonSize"], 200);
}

TEST_F(Cli, SettingsAndFromStartTheButtonAndOptionsWin) {
    ASSERT_EQ(Run({"render", "-o", Path("a.png"), "--style", "12", "--caption", "Home", "--hue", "100"}).status, 0);
    Result r = Run({"inspect", Path("a.png"), "--json"});
    Write("s.json", r.out);
    // The inspect form is read back as it is; an option overrides one key.
    ASSERT_EQ(Run({"render", "-o", Path("b.gif"), "--settings", Path("s.json"), "--hue", "200"}).status, 0);
    json b = Inspect(Path("b.gif"));
    json a = Inspect(Path("a.png"));
    EXPECT_EQ(b["hueShift"], 200);
    b["hueShift"] = a["hueShift"];
    b["format"] = a["format"];
    EXPECT_EQ(a, b);
    // --from takes a saved button's settings.
    ASSERT_EQ(Run({"render", "-o", Path("c.bmp"), "--from", Path("b.gif"), "--caption", "Away"}).status, 0);
    json c = Inspect(Path("c.bmp"));
    EXPECT_EQ(c["hueShift"], 200);
    EXPECT_EQ(c["caption"], "Away");
    // A partial settings file changes only what it names.
    Write("part.json", R"({"caption": "Only this", "textOffset": {"y": 4}})");
    ASSERT_EQ(Run({"render", "-o", Path("d.png"), "--settings", Path("part.json")}).status, 0);
    json d = Inspect(Path("d.png"));
    EXPECT_EQ(d["caption"], "Only this");
    EXPECT_EQ(d["styleNumber"], 0);
    EXPECT_EQ(d["textOffset"], (json{{"x", 0}, {"y", 4}}));
}

TEST_F(Cli, HostileSettingsFilesAreRefusedCleanly) {
    struct Case {
        std::string text;
        int status;
        std::string mention;
    };
    const std::vector<Case> cases = {
        {R"({"hueShift": "12"})", 2, "\"hueShift\" must be an integer in 0..4096"},
        {R"({"hueShift": 1.5})", 2, "hueShift"},
        {R"({"hueShift": 18446744073709551615})", 2, "hueShift"},
        {R"({"brightness": -9223372036854775808})", 2, "brightness"},
        {R"({"buttonSize": 1e300})", 2, "buttonSize"},
        {R"({"styleNumber": 12, "buttonSize": 100000})", 2, "buttonSize"},
        {R"({"shadow": 1})", 2, "\"shadow\" must be true or false"},
        {R"({"caption": ["a"]})", 2, "\"caption\" must be a string"},
        {R"({"textOffset": [1, 2]})", 2, "textOffset"},
        {R"({"textOffset": {"x": 5000}})", 2, "textOffset"},
        {R"({"textColor": "red"})", 2, "textColor"},
        {R"({"colour": "#FFFFFF"})", 2, "unknown key \"colour\""},
        {R"([1, 2, 3])", 2, "JSON object"},
        {R"({"caption": )", 1, "not valid JSON"},
        {std::string(10000, '[') + std::string(10000, ']'), 1, "deep"},
        {"", 1, "not valid JSON"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "bad" + std::to_string(n++) + ".json";
        Write(name, c.text);
        Result r = Run({"render", "-o", Path("x.png"), "--settings", Path(name)});
        EXPECT_EQ(r.status, c.status) << c.text.substr(0, 60) << "\n" << r.err;
        EXPECT_NE(r.err.find(c.mention), std::string::npos) << c.text.substr(0, 60) << "\n" << r.err;
    }
    EXPECT_FALSE(fs::exists(Path("x.png")));
    EXPECT_EQ(Run({"render", "-o", Path("x.png"), "--settings", Path("missing.json")}).status, 1);
}

TEST_F(Cli, FilesWithoutSettingsExitOne) {
    Write("plain.png", "not an image at all");
    Result r = Run({"inspect", Path("plain.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    ASSERT_EQ(Run({"style", "12", "-o", Path("style.png")}).status, 0);
    r = Run({"inspect", Path("style.png"), "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("carries no button settings"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(Run({"inspect", Path("missing.gif")}).status, 1);
    EXPECT_EQ(Run({"render", "-o", Path("x.png"), "--from", Path("style.png")}).status, 1);
    EXPECT_FALSE(fs::exists(Path("x.png")));
    // An output folder that does not exist.
    EXPECT_EQ(Run({"render", "-o", Path("no/such/x.png")}).status, 1);
}

TEST_F(Cli, StylesListTheCatalogue) {
    Result r = Run({"styles", "--json"});
    ASSERT_EQ(r.status, 0);
    json list = json::parse(r.out);
    ASSERT_TRUE(list.is_array());
    ASSERT_EQ(list.size(), 930u);
    for (size_t i = 0; i < list.size(); ++i) {
        const json& e = list[i];
        ASSERT_EQ(e["number"], int(i + 1));
        for (const char* key : {"left", "top", "right", "bottom"}) ASSERT_TRUE(e["archiveRect"][key].is_number_integer());
        ASSERT_TRUE(e["resourceNumber"].is_number_integer());
        ASSERT_TRUE(e["hasStyle"].is_boolean());
        ASSERT_TRUE(e["defaultStretch"].is_number_integer());
        ASSERT_TRUE(e["stretchColumn"].is_number_integer());
        ASSERT_EQ(e["width"] > 0, e["hasStyle"].get<bool>());
        if (e["hasStyle"].get<bool>()) {
            // The caption's area lies in the picture; its colour is web text.
            const json& area = e["captionArea"];
            ASSERT_GE(area["left"].get<int>(), 0);
            ASSERT_LT(area["left"].get<int>(), area["right"].get<int>());
            ASSERT_LE(area["right"].get<int>(), e["width"].get<int>());
            ASSERT_GE(area["top"].get<int>(), 0);
            ASSERT_LT(area["top"].get<int>(), area["bottom"].get<int>());
            ASSERT_LE(area["bottom"].get<int>(), e["height"].get<int>());
            ASSERT_EQ(e["captionColor"].get<std::string>().size(), 7u);
            ASSERT_EQ(e["captionColor"].get<std::string>()[0], '#');
            ASSERT_TRUE(e["darkPage"].is_boolean());
            // And what a person looks for in it.
            ASSERT_TRUE(e["family"].is_number_integer());
            ASSERT_TRUE(e["shape"].is_string());
            ASSERT_TRUE(e["material"].is_string());
            ASSERT_TRUE(e["colourway"].is_string());
            ASSERT_GE(e["largestSize"].get<int>(), 20);
            ASSERT_GE(e["widestBody"].get<int>(), 1);
            ASSERT_TRUE(e["stretchable"].is_boolean());
            ASSERT_EQ(e.size(), 18u);
        } else {
            ASSERT_EQ(e.size(), 8u);
        }
    }
    // The body picture of style 12 has the listed size.
    ASSERT_EQ(Run({"style", "12", "-o", Path("s.png")}).status, 0);
    std::string png = tabora::ReadWholeFile(Path("s.png"));
    ASSERT_GT(png.size(), 24u);
    auto be32 = [&](size_t at) {
        return (uint32_t(uint8_t(png[at])) << 24) | (uint32_t(uint8_t(png[at + 1])) << 16) |
               (uint32_t(uint8_t(png[at + 2])) << 8) | uint8_t(png[at + 3]);
    };
    EXPECT_EQ(be32(16), list[11]["width"].get<uint32_t>());
    EXPECT_EQ(be32(20), list[11]["height"].get<uint32_t>());
    EXPECT_EQ(png[25], 6);  // RGBA
    EXPECT_EQ(png.find("tEXt"), std::string::npos);
    EXPECT_NE(Run({"styles"}).out.find("style"), std::string::npos);
}

TEST_F(Cli, BatchFitsSizesAndWritesHtml) {
    fs::create_directory(Path("site"));
    Write("site/bar.json", R"({
        "defaults": {"styleNumber": 12, "fontSize": 11, "caption": "x"},
        "fitCaption": true, "sameSize": false, "html": "nav.html",
        "buttons": [
            {"caption": "Home", "output": "img/home.png"},
            {"caption": "A much longer caption", "output": "img/long.png"},
            {"caption": "Q & A \"now\"", "output": "img/qa.gif", "removeBackground": true}
        ]})");
    fs::create_directory(Path("site/img"));
    Result r = Run({"batch", Path("site/bar.json")});
    ASSERT_EQ(r.status, 0) << r.err;
    json home = Inspect(Path("site/img/home.png"));
    json lng = Inspect(Path("site/img/long.png"));
    json qa = Inspect(Path("site/img/qa.gif"));
    // A short caption fits the style as it is; a long one widens it.
    EXPECT_EQ(home["buttonSize"], 200);
    EXPECT_GT(lng["buttonSize"].get<int>(), 200);
    EXPECT_EQ(qa["removeBackground"], true);
    EXPECT_EQ(qa["fontSize"], 11);  // from the defaults

    std::string html = tabora::ReadWholeFile(Path("site/nav.html"));
    EXPECT_NE(html.find("<img src=\"img/home.png\" alt=\"Home\" width=\""), std::string::npos) << html;
    EXPECT_NE(html.find("alt=\"Q &amp; A &quot;now&quot;\""), std::string::npos) << html;
    EXPECT_EQ(std::count(html.begin(), html.end(), '\n'), 3);

    // sameSize: every button takes the largest fitted size.
    std::string text = tabora::ReadWholeFile(Path("site/bar.json"));
    text.replace(text.find("\"sameSize\": false"), 17, "\"sameSize\": true");
    Write("site/bar.json", text);
    ASSERT_EQ(Run({"batch", Path("site/bar.json"), "-j", "1"}).status, 0);
    EXPECT_EQ(Inspect(Path("site/img/home.png"))["buttonSize"], lng["buttonSize"]);
    EXPECT_EQ(Inspect(Path("site/img/qa.gif"))["buttonSize"], lng["buttonSize"]);
    const std::string one = tabora::ReadWholeFile(Path("site/img/home.png"));
    ASSERT_EQ(Run({"batch", Path("site/bar.json"), "-j", "3"}).status, 0);
    EXPECT_EQ(tabora::ReadWholeFile(Path("site/img/home.png")), one);  // threads change nothing
}

TEST_F(Cli, BatchIsCheckedBeforeAnythingIsWritten) {
    Write("dup.json", R"({"buttons": [{"output": "a.png"}, {"output": "./a.png"}]})");
    EXPECT_EQ(Run({"batch", Path("dup.json")}).status, 2);
    Write("bad.json", R"({"buttons": [{"output": "a.png"}, {"output": "b.png", "hueShift": -1}]})");
    Result r = Run({"batch", Path("bad.json")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("buttons[1]"), std::string::npos) << r.err;
    Write("noout.json", R"({"buttons": [{"caption": "x"}]})");
    EXPECT_EQ(Run({"batch", Path("noout.json")}).status, 2);
    Write("ext.json", R"({"buttons": [{"output": "x.tiff"}]})");
    EXPECT_EQ(Run({"batch", Path("ext.json")}).status, 2);
    Write("key.json", R"({"buttons": [], "fitCaptions": true})");
    EXPECT_EQ(Run({"batch", Path("key.json")}).status, 2);
    EXPECT_FALSE(fs::exists(Path("a.png")));
    EXPECT_FALSE(fs::exists(Path("b.png")));
    // A button that cannot be written fails the run (status 1); the others are written.
    Write("partial.json", R"({"buttons": [{"output": "ok.png"}, {"output": "missing/dir.png"}]})");
    r = Run({"batch", Path("partial.json")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("buttons[1]"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::exists(Path("ok.png")));
}

TEST_F(Cli, CharactersNoFontHasAreNamedInAWarning) {
    // Plane 5 is unassigned, so no installed font has U+50000; the button is
    // still written, with the character as a box.
    Result r = Run({"render", "-o", Path("a.png"), "--style", "12", "--caption",
                    "Go \xF1\x90\x80\x80 \xE4\xB8\xAD"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(Path("a.png")));
    EXPECT_NE(r.err.find("warning"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("U+50000"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("U+4E2D"), std::string::npos) << r.err;  // drawn from a fallback face
    // (Black on white: no warning about contrast either.)
    r = Run({"render", "-o", Path("b.png"), "--caption", "Go \xE4\xB8\xAD \xF0\x9F\x9A\x80",
             "--text-color", "000000"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");

    Write("bar.json", R"({"defaults": {"styleNumber": 12, "textColor": "#000000"},
        "buttons": [{"caption": "ok", "output": "ok.png"},
                    {"caption": "x\uD900\uDC01", "output": "box.png"}]})");
    r = Run({"batch", Path("bar.json")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("buttons[1]"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("U+50001"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("buttons[0]"), std::string::npos) << r.err;
}

TEST_F(Cli, FitCaptionMeasuresShapedCaptions) {
    Write("bar.json", R"({"defaults": {"styleNumber": 12, "fontSize": 12}, "fitCaption": true,
        "buttons": [{"caption": "مرحبا بكم في متجرنا الإلكتروني الجديد", "output": "ar.png"},
                    {"caption": "欢迎光临我们的新网上商店今天", "output": "zh.png"}]})");
    Result r = Run({"batch", Path("bar.json")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_GT(Inspect(Path("ar.png"))["buttonSize"].get<int>(), 200);
    EXPECT_GT(Inspect(Path("zh.png"))["buttonSize"].get<int>(), 200);
}

// The same batch on several threads writes the same bytes every time, GIF
// colour tables included (the library's quantiser was not safe to run on
// two threads at once).
TEST_F(Cli, ThreadsChangeNoByteOfABatch) {
    const std::vector<int> withPicture = tabora::test::StylesWithPictures();
    ASSERT_FALSE(withPicture.empty());
    json buttons = json::array();
    for (size_t i = 0; i < 300; ++i) {
        const std::string name = Numbered("b", i);
        buttons.push_back({{"output", name + (i % 5 == 4 ? ".png" : ".gif")},
                           {"styleNumber", withPicture[(i * 37) % withPicture.size()]},
                           {"hueShift", (i * 97) % 4096},
                           {"caption", Numbered("Button ", i)},
                           {"antialias", i % 2 == 0},
                           {"removeBackground", i % 3 == 0}});
    }
    const std::string text = json{{"buttons", buttons}}.dump();
    std::vector<std::vector<std::string>> runs;
    for (const char* jobs : {"1", "4", "4"}) {
        const std::string folder = Numbered(std::string("run-j") + jobs + "-", runs.size());
        fs::create_directory(Path(folder));
        Write(folder + "/batch.json", text);
        ASSERT_EQ(Run({"batch", Path(folder + "/batch.json"), "-j", jobs}).status, 0);
        std::vector<std::string> files;
        for (const json& b : buttons)
            files.push_back(
                tabora::ReadWholeFile(Path(folder + "/" + b["output"].get<std::string>())));
        runs.push_back(std::move(files));
    }
    for (size_t run = 1; run < runs.size(); ++run) {
        int differing = 0;
        for (size_t i = 0; i < buttons.size(); ++i) differing += runs[run][i] != runs[0][i];
        EXPECT_EQ(differing, 0) << "run " << run << " (-j 4) against -j 1";
    }
}

// The page goes where it is asked to, as long as it is a page, and a caption
// cannot break its lines.
TEST_F(Cli, BatchPageIsAPageWhereverItGoes) {
    fs::create_directories(Path("site/menu"));
    Write("site/menu/bar.json", R"({"html": "../nav.HTM", "buttons": [
        {"output": "a.png", "caption": "Home\n$(rm -rf ~)\n<b>"}]})");
    Result r = Run({"batch", Path("site/menu/bar.json")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string html = tabora::ReadWholeFile(Path("site/nav.HTM"));
    EXPECT_EQ(std::count(html.begin(), html.end(), '\n'), 1) << html;
    EXPECT_NE(html.find("src=\"menu/a.png\" alt=\"Home&#10;$(rm -rf ~)&#10;&lt;b&gt;\""),
              std::string::npos)
        << html;
}

// A file can carry any caption; shown as text, control characters are
// escaped, so a file cannot set the terminal's title, clear the screen or
// print lines that look like the program's own. The JSON form keeps the text
// exactly.
TEST_F(Cli, InspectEscapesWhatATerminalWouldObey) {
    const std::string caption =
        "Go\x1B]0;owned\x07\x1B[2J\rfontName:          pwned\n\xC2\x9B"
        "31m\x7F";
    const tabora::test::Bytes file = tabora::test::SavedButton("png", caption);
    tabora::WriteWholeFile(Path("evil.png"), file.data(), file.size());
    Result r = Run({"inspect", Path("evil.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    for (size_t i = 0; i < r.out.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(r.out[i]);
        EXPECT_TRUE((c >= 0x20 && c != 0x7F) || c == '\n') << "byte " << int(c) << " at " << i;
        // C1 controls, as UTF-8.
        if (c == 0xC2 && i + 1 < r.out.size()) {
            EXPECT_GE(static_cast<unsigned char>(r.out[i + 1]), 0xA0) << i;
        }
    }
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 20) << r.out;
    EXPECT_NE(
        r.out.find("Go\\x1B]0;owned\\x07\\x1B[2J\\rfontName:          pwned\\n\\u009B31m\\x7F"),
        std::string::npos)
        << r.out;
    EXPECT_EQ(Inspect(Path("evil.png"))["caption"], caption);
}

// "-" and /dev/stdin read the settings from a pipe.
TEST_F(Cli, SettingsComeFromStandardInput) {
    for (const char* name : {"-", "/dev/stdin"}) {
        tabora::test::ProgramLimits piped;
        piped.input = R"({"caption": "Piped", "hueShift": 77})";
        const tabora::test::ProgramRun run = tabora::test::RunProgram(
            {tabora::test::CliUnderTest(), "render", "--settings", name, "-o", Path("p.png")},
            piped);
        ASSERT_EQ(run.status, 0) << name << ": " << run.err;
        const json j = Inspect(Path("p.png"));
        EXPECT_EQ(j["caption"], "Piped") << name;
        EXPECT_EQ(j["hueShift"], 77) << name;
    }
    // Nothing piped at all is not JSON, and the message says where it looked.
    const tabora::test::ProgramRun empty = tabora::test::RunProgram(
        {tabora::test::CliUnderTest(), "render", "--settings", "-", "-o", Path("e.png")});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("standard input"), std::string::npos) << empty.err;
}

// Five states in one rectangle, as files or as a sprite, with a style sheet
// whose addresses and class come from the names given.
TEST_F(Cli, RenderWritesStatesSpriteAndStyleSheet) {
    Result r = Run({"render", "-o", Path("home.png"), "--style", "12", "--caption", "Home", "--states",
                    "--css", Path("nav.css")});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* name : {"home.png", "home-hover.png", "home-active.png", "home-focus.png",
                             "home-disabled.png"}) {
        EXPECT_TRUE(fs::exists(Path(name))) << name;
    }
    const std::string css = tabora::ReadWholeFile(Path("nav.css"));
    EXPECT_NE(css.find(".home:hover{background-image:url(\"home-hover.png\")"), std::string::npos) << css;
    EXPECT_EQ(Inspect(Path("home-active.png"))["shadow"], false);
    // Default states: the normal file is as any button of today.
    EXPECT_EQ(Inspect(Path("home.png"))["payloadVersion"], 0x0103);

    r = Run({"render", "-o", Path("b.gif"), "--style", "12", "--states", "hover,pressed", "--sprite"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(Path("b-sprite.gif")));
    EXPECT_FALSE(fs::exists(Path("b-hover.gif")));

    const std::vector<std::vector<std::string>> refused = {
        {"--states", "hover,glow"}, {"--states", "hover,hover"}, {"--css", Path("nav.txt")},
        {"--css", Path("c.css"), "-o", Path("c.css.png")}, {"--states", "--css", Path("c-hover.png")}};
    for (const auto& extra : refused) {
        std::vector<std::string> args = {"render", "-o", Path("c.png"), "--style", "12"};
        args.insert(args.end(), extra.begin(), extra.end());
        const Result bad = Run(args);
        EXPECT_EQ(bad.status, 2) << extra[0] << " " << bad.err;
    }
    EXPECT_FALSE(fs::exists(Path("c.png")));
}

// States at finer scales: every state and sprite at 1x, 2x and 3x, each
// exactly k times its 1x twin with the same settings and state table, and
// the style sheet lists them in image-set(); the batch's duplicate check
// knows the scaled state names.
namespace {
std::pair<int, int> PngSize(const std::string& path);
}  // namespace

TEST_F(Cli, StatesAndSpritesAreWrittenAtEveryScale) {
    Write("s.json", R"({"states": {"hover": {"hueShift": 40}}})");
    Result r = Run({"render", "-o", Path("home.png"), "--style", "12", "--caption", "Home", "--settings",
                    Path("s.json"), "--states", "--scales", "1,2,3", "--css", Path("nav.css")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Inspect(Path("home.png"))["payloadVersion"], 0x0104);
    for (const char* state : {"", "-hover", "-active", "-focus", "-disabled"}) {
        const std::string one = Path(std::string("home") + state + ".png");
        const auto [w, h] = PngSize(one);
        const json settings = Inspect(one);
        for (int k : {2, 3}) {
            const std::string fine = Path("home" + std::string(state) + "@" + std::to_string(k) + "x.png");
            EXPECT_EQ(PngSize(fine), std::make_pair(k * w, k * h)) << fine;
            EXPECT_EQ(Inspect(fine), settings) << fine;
        }
    }
    const std::string css = tabora::ReadWholeFile(Path("nav.css"));
    EXPECT_NE(css.find("image-set(url(\"home-hover.png\") 1x,url(\"home-hover@2x.png\") 2x,"
                       "url(\"home-hover@3x.png\") 3x)"),
              std::string::npos)
        << css;
    // The style sheet's plain url() is the 1x picture: it must be among them.
    r = Run({"render", "-o", Path("x.png"), "--states", "--scales", "2", "--css", Path("x.css")});
    EXPECT_EQ(r.status, 2) << r.err;

    Write("b.json", R"({"css": "b.css", "defaults": {"styleNumber": 12, "scales": [1, 2]},
        "buttons": [{"output": "a.png", "caption": "A", "states": ["hover"], "sprite": true}]})");
    r = Run({"batch", Path("b.json")});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto [w, h] = PngSize(Path("a-sprite.png"));
    EXPECT_EQ(PngSize(Path("a-sprite@2x.png")), std::make_pair(2 * w, 2 * h));
    EXPECT_NE(tabora::ReadWholeFile(Path("b.css")).find("url(\"a-sprite@2x.png\") 2x"), std::string::npos);

    Write("bad.json", R"({"buttons": [{"output": "c-hover@2x.png"},
        {"output": "c.png", "states": true, "scales": [1, 2]}]})");
    r = Run({"batch", Path("bad.json")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("buttons[0] and buttons[1] write the same file"), std::string::npos) << r.err;
}

// A caption wider than its body is a warning, and with --strict an error
// before anything is written; the batch sums them up in one line.
TEST_F(Cli, CaptionsThatDoNotFitAreReported) {
    const std::vector<std::string> args = {"render", "-o", Path("s.png"), "--style", "12",
                                           "--caption", "Services & Support", "--font-size", "20"};
    Result r = Run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("s.png: the caption runs "), std::string::npos) << r.err;
    fs::remove(Path("s.png"));
    std::vector<std::string> strict = args;
    strict.push_back("--strict");
    r = Run(strict);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("nothing was written (--strict)"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Path("s.png")));

    Write("bar.json", R"({"defaults": {"styleNumber": 12, "fontSize": 20}, "buttons": [
        {"output": "a.png", "caption": "Services & Support"}, {"output": "b.png", "caption": "Go"},
        {"output": "c.png", "caption": "Frequently asked", "states": true}]})");
    r = Run({"batch", Path("bar.json")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("2 captions run past their bodies: buttons[0]: "), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("run past", r.err.find("run past") + 1), std::string::npos) << r.err;
    for (const char* f : {"a.png", "b.png", "c.png", "c-hover.png"}) fs::remove(Path(f));
    r = Run({"batch", Path("bar.json"), "--strict"});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_FALSE(fs::exists(Path("b.png")));
}

TEST_F(Cli, TextColorAutoPicksTheCaptionThatReads) {
    // A white body: black reads; a dark body: white reads.
    Result r = Run({"render", "-o", Path("a.png"), "--caption", "Go", "--text-color", "auto"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Inspect(Path("a.png"))["textColor"], "#000000");
    EXPECT_EQ(r.err, "");
    r = Run({"render", "-o", Path("b.png"), "--caption", "Go", "--background", "101010", "--text-color",
             "auto"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Inspect(Path("b.png"))["textColor"], "#FFFFFF");
    r = Run({"render", "-o", Path("c.png"), "--caption", "Go"});
    EXPECT_NE(r.err.find("the caption's contrast is 1.0:1, below the 4.5:1 it needs"), std::string::npos)
        << r.err;
}

// A page of linked buttons from hostile words: every text escaped, script
// addresses refused, the style sheet kept to its own kind of name.
TEST_F(Cli, BatchLinksAreEscapedAndTheStyleSheetIsSafe) {
    Write("nav.json", R"({"html": "nav.html", "css": "nav.css",
        "defaults": {"styleNumber": 12, "states": ["hover", "focus"], "sprite": true},
        "buttons": [
        {"output": "a.png", "caption": "Q&A \"now\" <b>", "href": "/q?a=1&b=\"2\"", "rel": "nofollow"},
        {"output": "b.png", "caption": "", "alt": "Search", "href": "s.html", "className": "nav_search",
         "states": {"hover": {"textColor": "#FFEE00"}, "focus": {"focusRing": false, "opacity": 80}}}]})");
    Result r = Run({"batch", Path("nav.json")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string html = tabora::ReadWholeFile(Path("nav.html"));
    EXPECT_EQ(html,
              "<a class=\"a\" href=\"/q?a=1&amp;b=&quot;2&quot;\" rel=\"nofollow\">Q&amp;A &quot;now&quot; "
              "&lt;b&gt;</a>\n<a class=\"nav_search\" href=\"s.html\">Search</a>\n");
    const std::string css = tabora::ReadWholeFile(Path("nav.css"));
    EXPECT_NE(css.find(".nav_search:focus-visible{outline:none;background-position:0 -"), std::string::npos);
    EXPECT_TRUE(fs::exists(Path("b-sprite.png")));
    const json b = Inspect(Path("b.png"));
    EXPECT_EQ(b["payloadVersion"], 0x0104);
    EXPECT_EQ(b["states"]["hover"]["textColor"], "#FFEE00");
    EXPECT_EQ(b["states"]["focus"]["opacity"], 80);

    struct Case {
        std::string batch;
        std::string message;
    };
    const std::vector<Case> cases = {
        {R"j({"buttons": [{"output": "x.png", "href": "JavaScript:alert(1)"}]})j", "\"href\" must be a relative"},
        {R"({"buttons": [{"output": "x.png", "href": "java\tscript:x"}]})", "control characters"},
        {R"({"html": "p.html", "buttons": [{"output": "x.png", "href": "/"}]})", "needs \"alt\""},
        {R"({"css": "p.js", "buttons": [{"output": "x.png"}]})", "\"css\" must name a file ending in .css"},
        {R"({"css": "x.png", "buttons": [{"output": "x.png"}]})", "\"css\" must name a file ending"},
        {R"({"css": "p.css", "html": "p.css", "buttons": []})", "\"html\" must name"},
        {R"({"buttons": [{"output": "x-hover.png"}, {"output": "x.png", "states": true}]})",
         "buttons[0] and buttons[1] write the same file"},
        {R"({"buttons": [{"output": "x.png", "className": "a{}"}]})", "\"className\" must start"},
        {R"({"buttons": [{"output": "x.png", "states": {"hover": {"jpegQuality": 3}}}]})",
         "belongs to the file, not to a state"},
        {R"({"buttons": [{"output": "x.png", "states": {"glow": {}}}]})", "unknown state \"glow\""},
        {R"({"buttons": [{"output": "x.png", "states": {"focus": {"opacity": 101}}}]})", "0..100"},
        {R"({"defaults": {"sprite": "yes"}, "buttons": [{"output": "x.png"}]})",
         "defaults: \"sprite\" must be true or false"},
    };
    Write("bad.css", R"({"css": "bad.css", "buttons": []})");
    r = Run({"batch", Path("bad.css")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("\"css\" names the batch file itself"), std::string::npos) << r.err;
    for (const Case& c : cases) {
        Write("bad.json", c.batch);
        const Result bad = Run({"batch", Path("bad.json")});
        EXPECT_EQ(bad.status, 2) << c.batch;
        EXPECT_NE(bad.err.find(c.message), std::string::npos) << c.batch << "\n" << bad.err;
        EXPECT_FALSE(fs::exists(Path("x.png"))) << c.batch;
    }
}

// Finding a style without the window: the catalogue's facts in the listing,
// filters that keep only what they name, and a numbered contact sheet.
TEST_F(Cli, StylesAreFoundByTheirFactsAndShownOnASheet) {
    Result r = Run({"styles", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json all = json::parse(r.out);
    std::set<std::string> shapes, colours;
    for (const json& s : all) {
        if (!s["hasStyle"].get<bool>()) continue;
        shapes.insert(s["shape"].get<std::string>());
        colours.insert(s["colourway"].get<std::string>());
        EXPECT_GE(s["largestSize"].get<int>(), 20);
        EXPECT_GE(s["widestBody"].get<int>(), s["width"].get<int>());
    }
    EXPECT_GT(shapes.size(), 8u);
    EXPECT_GT(colours.size(), 10u);

    r = Run({"styles", "--json", "--shape", "PILL", "--colour", "sky", "--stretchable",
             "--min-height", "30"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json pills = json::parse(r.out);
    ASSERT_FALSE(pills.empty());
    for (const json& s : pills) {
        EXPECT_EQ(s["shape"], "pill");
        EXPECT_EQ(s["colourway"], "Sky");
        EXPECT_TRUE(s["stretchable"].get<bool>());
        EXPECT_GE(s["height"].get<int>(), 30);
    }
    EXPECT_LT(pills.size(), all.size() / 4);
    const int family = pills[0]["family"].get<int>();
    r = Run({"styles", "--json", "--family", std::to_string(family)});
    for (const json& s : json::parse(r.out)) EXPECT_EQ(s["family"], family);

    r = Run({"styles", "--shape", "blob"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--shape: no shape is called \"blob\"; the shapes are round-rect, pill"),
              std::string::npos) << r.err;

    r = Run({"sheet", "-o", Path("sheet.png"), "--shape", "pill", "--colour", "sky", "--stretchable",
             "--min-height", "30", "--columns", "4"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string png = tabora::ReadWholeFile(Path("sheet.png"));
    ASSERT_GT(png.size(), 24u);
    auto at = [&](size_t i) {
        return (uint8_t(png[i]) << 24) | (uint8_t(png[i + 1]) << 16) | (uint8_t(png[i + 2]) << 8) | uint8_t(png[i + 3]);
    };
    const size_t rows = (pills.size() + 3) / 4;
    EXPECT_EQ(at(16), std::min<size_t>(4, pills.size()) * 174u);
    EXPECT_EQ(at(20), rows * (74u + 16u));
    EXPECT_EQ(Run({"sheet", "-o", Path("s.png"), "--colour", "plaid"}).status, 2);
    EXPECT_EQ(Run({"sheet", "-o", Path("s.gif")}).status, 2);
    EXPECT_FALSE(fs::exists(Path("s.png")));
}

namespace {

// The width and height in a PNG's header.
std::pair<int, int> PngSize(const std::string& path) {
    const std::string bytes = tabora::ReadWholeFile(path);
    if (bytes.size() < 24) return {};
    auto be32 = [&](size_t at) {
        return int(uint8_t(bytes[at])) << 24 | int(uint8_t(bytes[at + 1])) << 16 |
               int(uint8_t(bytes[at + 2])) << 8 | int(uint8_t(bytes[at + 3]));
    };
    return {be32(16), be32(20)};
}

}  // namespace

// --scales writes each scale beside the name given, every file exactly k
// times the 1x one and carrying the same settings; --scale writes one file
// under the name given, the same bytes as its --scales twin.
TEST_F(Cli, ScalesAreWrittenBesideTheFileAtExactlyKTimesTheSize) {
    Result r = Run({"render", "-o", Path("home.png"), "--style", "12", "--caption", "Home",
                    "--scales", "3,1,2", "--include-shadow-area", "--remove-background"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto [w, h] = PngSize(Path("home.png"));
    ASSERT_GT(w, 0);
    for (int k : {2, 3}) {
        const std::string fine = Path(Numbered("home@", size_t(k)) + "x.png");
        EXPECT_EQ(PngSize(fine), std::make_pair(k * w, k * h)) << fine;
        EXPECT_EQ(Inspect(fine), Inspect(Path("home.png"))) << fine;
    }
    ASSERT_EQ(Run({"render", "-o", Path("one.png"), "--style", "12", "--caption", "Home", "--scale",
                   "2", "--include-shadow-area", "--remove-background"})
                  .status,
              0);
    EXPECT_EQ(tabora::ReadWholeFile(Path("one.png")), tabora::ReadWholeFile(Path("home@2x.png")));
    // The style's own picture at 3x.
    ASSERT_EQ(Run({"style", "12", "-o", Path("s1.png")}).status, 0);
    ASSERT_EQ(Run({"style", "12", "-o", Path("s3.png"), "--scale", "3"}).status, 0);
    EXPECT_EQ(PngSize(Path("s3.png")).first, 3 * PngSize(Path("s1.png")).first);

    const size_t before = FileCount();
    for (const auto& [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--scale", "4"}, "--scale must be an integer in 1..3"},
             {{"--scales", "1,2,2"}, "--scales: scale 2 is named twice"},
             {{"--scales", "1,"}, "--scales: a scale is missing"},
             {{"--scales", "2,x"}, "--scales must be an integer in 1..3"},
             {{"--scale", "2", "--scales", "1,2"}, "excludes"}}) {
        std::vector<std::string> command = {"render", "-o", Path("x.png")};
        command.insert(command.end(), args.begin(), args.end());
        r = Run(command);
        EXPECT_EQ(r.status, 2) << args[1];
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    EXPECT_EQ(FileCount(), before);
}

// "scales" in the defaults or a button's entry; the caption is fitted and
// the sizes made the same at 1x, every scale follows; the page's picture is
// the 1x file with the finer ones in srcset at the 1x width and height.
TEST_F(Cli, BatchScalesFollowTheOneTimesLayoutAndFillTheSrcset) {
    Write("b.json", R"({"defaults": {"styleNumber": 12, "scales": [1, 2]}, "fitCaption": true,
        "sameSize": true, "html": "page.html", "buttons": [
        {"caption": "Home", "output": "home.png"},
        {"caption": "Products and services", "output": "more.gif", "scales": [1, 3, 2]},
        {"caption": "Plain", "output": "plain.png", "scales": [1]}]})");
    Result r = Run({"batch", Path("b.json")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(tabora::ReadWholeFile(Path("page.html")),
              "<img src=\"home.png\" srcset=\"home@2x.png 2x\" alt=\"Home\" width=\"" +
                  std::to_string(PngSize(Path("home.png")).first) + "\" height=\"" +
                  std::to_string(PngSize(Path("home.png")).second) + "\">\n" +
                  "<img src=\"more.gif\" srcset=\"more@3x.gif 3x, more@2x.gif 2x\" alt=\"Products "
                  "and services\" width=\"" +
                  std::to_string(PngSize(Path("home.png")).first) + "\" height=\"" +
                  std::to_string(PngSize(Path("home.png")).second) + "\">\n" +
                  "<img src=\"plain.png\" alt=\"Plain\" width=\"" +
                  std::to_string(PngSize(Path("plain.png")).first) + "\" height=\"" +
                  std::to_string(PngSize(Path("plain.png")).second) + "\">\n");
    const auto [w, h] = PngSize(Path("home.png"));
    EXPECT_EQ(PngSize(Path("home@2x.png")), std::make_pair(2 * w, 2 * h));
    EXPECT_FALSE(fs::exists(Path("home@3x.png")));
    EXPECT_FALSE(fs::exists(Path("plain@2x.png")));
    EXPECT_EQ(Inspect(Path("more@3x.gif"))["buttonSize"], Inspect(Path("home.png"))["buttonSize"]);

    for (const auto& [batch, message] : std::vector<std::pair<std::string, std::string>>{
             {R"({"defaults": {"scales": [2]}, "buttons": [{"output": "a.png"}]})",
              "\"scales\" must include 1"},
             {R"({"buttons": [{"output": "a.png", "scales": 2}]})", "must be an array of scales"},
             {R"({"buttons": [{"output": "a.png", "scales": [1, 4]}]})", "must be 1, 2 or 3"},
             {R"({"buttons": [{"output": "a@2x.png"}, {"output": "a.png", "scales": [1, 2]}]})",
              "buttons[0] and buttons[1] write the same file"}}) {
        Write("bad.json", batch);
        r = Run({"batch", Path("bad.json")});
        EXPECT_EQ(r.status, 2) << batch;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
}
