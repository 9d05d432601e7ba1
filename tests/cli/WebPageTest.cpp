#include <gtest/gtest.h>

#include "cli/CliError.h"
#include "cli/WebPage.h"

using namespace tabora;
using namespace tabora::cli;

// However a script address is spelt, it never becomes a link: browsers
// ignore case and leading spaces in a scheme, and drop tabs and newlines
// inside it, so those are refused outright.
TEST(WebPage, ScriptAddressesAreRefusedInEverySpelling) {
    for (const char* bad : {"javascript:alert(1)", "JavaScript:alert(1)", " javascript:x",
                            "java\tscript:x", "java\nscript:x", "vbscript:x", "data:text/html,x",
                            "file:///etc/passwd", "\x01https://x", "page:1.html"}) {
        EXPECT_THROW(CheckHref(bad, "href"), UsageError) << bad;
    }
    for (const char* good : {"/", "index.html", "../a b/c.html?x=1&y=\"2\"#top", "https://example.com/",
                             "HTTP://x", "mailto:a@b.c", "tel:+1234", "?q=a:b",
                             "#a:b", "dir/x:y"}) {
        EXPECT_NO_THROW(CheckHref(good, "href")) << good;
    }
}

TEST(WebPage, NamesAndWordsAreCheckedOrEscaped) {
    EXPECT_EQ(HtmlText("a<b>&\"c\"\n"), "a&lt;b&gt;&amp;&quot;c&quot;&#10;");
    EXPECT_EQ(UrlPath("img/a b\"<.png"), "img/a%20b%22%3C.png");
    EXPECT_EQ(ClassNameFor("img/home page.png"), "home-page");
    EXPECT_EQ(ClassNameFor("2nd.png"), "b-2nd");
    EXPECT_EQ(ClassNameFor("\"}body{x.png"), "b---body-x");
    EXPECT_EQ(CheckClassName("nav_home-1", "c"), "nav_home-1");
    for (const char* bad : {"", "1a", "-a", "a b", "a{", "a\"", "a.b"}) {
        EXPECT_THROW(CheckClassName(bad, "c"), UsageError) << bad;
    }
    EXPECT_NO_THROW(CheckTarget("_blank", "t"));
    EXPECT_NO_THROW(CheckTarget("main-frame", "t"));
    EXPECT_THROW(CheckTarget("_evil", "t"), UsageError);
    EXPECT_THROW(CheckTarget("a\" onclick=\"x", "t"), UsageError);
    EXPECT_NO_THROW(CheckRel("noopener nofollow", "r"));
    EXPECT_THROW(CheckRel("x\"y", "r"), UsageError);
    EXPECT_TRUE(IsStyleSheetName("a/NAV.CSS"));
    EXPECT_FALSE(IsStyleSheetName("nav.css.png"));
    EXPECT_FALSE(IsStyleSheetName("nav"));
}

TEST(WebPage, TheStyleSheetHasARulePerStateInCascadeOrder) {
    WebButton b;
    b.output = "/site/img/home.png";
    b.className = "home";
    b.width = 120;
    b.height = 30;
    b.states = {ButtonState::Normal, ButtonState::Hover, ButtonState::Active, ButtonState::Focus,
                ButtonState::Disabled};
    b.sprite = true;
    b.scales = {1, 2};
    const std::string css = ButtonCss({b}, "/site/nav.css");
    EXPECT_NE(css.find(".home{display:inline-block;width:120px;height:30px;"), std::string::npos) << css;
    EXPECT_NE(css.find("background-size:120px 150px;"), std::string::npos) << css;
    EXPECT_NE(css.find("image-set(url(\"img/home-sprite.png\") 1x,url(\"img/home-sprite@2x.png\") 2x)"),
              std::string::npos) << css;
    EXPECT_NE(css.find(".home:active{background-position:0 -60px;}"), std::string::npos) << css;
    EXPECT_NE(css.find(".home.disabled,.home[aria-disabled=\"true\"]{"), std::string::npos) << css;
    // Pressed comes after hovered and focused, so it wins while held.
    EXPECT_LT(css.find(":hover"), css.find(":focus-visible"));
    EXPECT_LT(css.find(":focus-visible"), css.find(":active"));

    b.sprite = false;
    b.scales = {1};
    b.states = {ButtonState::Normal, ButtonState::Hover};
    const std::string files = ButtonCss({b}, "/site/nav.css");
    EXPECT_NE(files.find(".home:hover{background-image:url(\"img/home-hover.png\");}"), std::string::npos)
        << files;
    EXPECT_EQ(files.find(":active"), std::string::npos);

    b.href = "/?a=1&b=2";
    b.alt = "Home <now>";
    b.target = "_blank";
    EXPECT_EQ(ButtonHtml(b, "/site/nav.html", true),
              "<a class=\"home\" href=\"/?a=1&amp;b=2\" target=\"_blank\" rel=\"noopener\">Home &lt;now&gt;</a>\n");
    EXPECT_EQ(ButtonHtml(b, "/site/nav.html", false),
              "<a href=\"/?a=1&amp;b=2\" target=\"_blank\" rel=\"noopener\"><img src=\"img/home.png\" "
              "alt=\"Home &lt;now&gt;\" width=\"120\" height=\"30\"></a>\n");
}
