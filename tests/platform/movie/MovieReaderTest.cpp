// The movie reader: what a good file becomes, and that a bad one is refused
// whole, with its line, whatever is wrong with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/movie/MovieHitTest.h"
#include "platform/movie/MovieReader.h"
#include "tests/platform/movie/MovieTestSupport.h"
#include "tests/support/RefusedAtLine.h"

namespace corvane::movie {
namespace {

constexpr char kSmall[] = R"(corvane-movie 1
# a comment
size 320 200
color ink #102030
color glass #FFFFFF80
gradient sky linear 0 0 0 1 0:#000000 0.5:ink 1:#FFFFFF
font ui "Tahoma,Arial" 12 bold
timing hover=100 press=50 transition=300
screens home other
background sky
rect 1 2 30 40 radius=4 fill=ink stroke=glass stroke-width=2 opacity=0.5
group 100 50
  group 10 5
    circle 0 0 8 fill=#FF0000
  end
end
on other
  text 5 6 "Hello \"you\"" font=ui color=ink align=center width=80
end
button 20 30 60 24 command="IDC_FS_home" args="x y" goto=other active=home,other radius=6 id=first tip="Go home"
  line 0 0 10 10 width=2 color=ink cap=butt
  hover
    rect 0 0 60 24 radius=6 fill=glass
  end
  pressed
    polygon 0 0 10 0 5 8 fill=ink
  end
  active
    arc 5 5 4 0 90 width=1 color=ink
  end
end
button 0 0 320 20 command=Drag trigger=press focus=no
end
)";

MovieReadResult Read(const std::string& text) { return ReadMovie(text); }

TEST(MovieReader, ReadsEveryKindOfStatement) {
  auto result = Read(kSmall);
  ASSERT_TRUE(result.movie) << result.line << ": " << result.error;
  const Movie& m = *result.movie;
  EXPECT_EQ(m.width, 320);
  EXPECT_EQ(m.height, 200);
  EXPECT_EQ(m.screens, (std::vector<std::string>{"home", "other"}));
  EXPECT_EQ(m.hoverMs, 100);
  EXPECT_EQ(m.pressMs, 50);
  EXPECT_EQ(m.transitionMs, 300);
  ASSERT_EQ(m.fonts.size(), 1u);
  EXPECT_EQ(m.fonts[0].faces, "Tahoma,Arial");
  EXPECT_EQ(m.fonts[0].weight, 700);
  EXPECT_EQ(m.background.kind, PaintKind::Linear);
  ASSERT_EQ(m.background.stops.size(), 3u);
  EXPECT_EQ(m.background.stops[1].color, (Rgba{0x10, 0x20, 0x30, 255}));

  ASSERT_EQ(m.shapes.size(), 3u);
  const Shape& rect = m.shapes[0];
  EXPECT_EQ(rect.kind, ShapeKind::Rect);
  EXPECT_EQ(rect.box, (RectF{1, 2, 30, 40}));
  EXPECT_EQ(rect.radius, 4);
  EXPECT_EQ(rect.stroke, (Rgba{255, 255, 255, 0x80}));
  EXPECT_EQ(rect.strokeWidth, 2);
  EXPECT_FLOAT_EQ(rect.opacity, 0.5f);
  // Nested groups add up; a circle is stored as its box.
  EXPECT_EQ(m.shapes[1].kind, ShapeKind::Ellipse);
  EXPECT_EQ(m.shapes[1].box, (RectF{102, 47, 16, 16}));
  const Shape& text = m.shapes[2];
  EXPECT_EQ(text.text, "Hello \"you\"");
  EXPECT_EQ(text.align, TextAlign::Center);
  EXPECT_EQ(text.box.w, 80);

  // Items keep the drawing order, with their screens.
  ASSERT_EQ(m.items.size(), 5u);
  EXPECT_EQ(m.items[0].screenMask, 3u);
  EXPECT_EQ(m.items[2].screenMask, 2u);  // only on "other"
  EXPECT_EQ(m.items[3].kind, Item::Kind::Button);

  ASSERT_EQ(m.buttons.size(), 2u);
  const Button& b = m.buttons[0];
  EXPECT_EQ(b.id, "first");
  EXPECT_EQ(b.command, "IDC_FS_home");
  EXPECT_EQ(b.args, "x y");
  EXPECT_EQ(b.gotoScreen, 1);
  EXPECT_EQ(b.activeOn, (std::vector<int>{0, 1}));
  EXPECT_EQ(b.radius, 6);
  EXPECT_EQ(b.trigger, Trigger::Release);
  EXPECT_EQ(b.tip, "Go home");
  EXPECT_EQ(m.buttons[1].tip, "");
  // Looks are placed at the button: the normal line starts at its corner.
  ASSERT_EQ(b.looks[0].size(), 1u);
  EXPECT_EQ(b.looks[0][0].points[0].x, 20);
  EXPECT_EQ(b.looks[0][0].points[1].y, 40);
  EXPECT_EQ(b.looks[0][0].cap, LineCap::Butt);
  EXPECT_EQ(b.looks[1].size(), 1u);
  EXPECT_EQ(b.looks[2].size(), 1u);
  EXPECT_EQ(b.looks[3][0].kind, ShapeKind::Arc);
  EXPECT_EQ(m.buttons[1].trigger, Trigger::Press);
  EXPECT_FALSE(m.buttons[1].focusable);
}

TEST(MovieReader, ToleratesWindowsLineEndsAndIndentation) {
  std::string text = kSmall;
  std::string crlf;
  for (char c : text) {
    if (c == '\n') crlf += "\r\n\t";
    else crlf += c;
  }
  auto result = Read(crlf);
  ASSERT_TRUE(result.movie) << result.line << ": " << result.error;
  EXPECT_EQ(result.movie->buttons.size(), 2u);
}

struct BadCase {
  const char* what;
  std::string text;
  int line;
};

std::string Head(const std::string& body) {
  return "corvane-movie 1\nfont ui \"Arial\" 12\nscreens home other\n" + body;
}

TEST(MovieReader, RefusesABadFileWholeWithItsLine) {
  std::string deep = Head("");
  for (int i = 0; i < 9; ++i) deep += "group 1 1\n";
  std::vector<BadCase> cases = {
      {"empty", "", 0},
      {"no header", "size 10 10\n", 1},
      {"other version", "corvane-movie 2\n", 1},
      {"unknown statement", Head("sprite 1 2\n"), 4},
      {"bad number", Head("rect 1 2 3 x4\n"), 4},
      {"not a number", Head("rect nan 2 3 4\n"), 4},
      {"huge number", Head("rect 1e9 2 3 4\n"), 4},
      {"out of range", Head("rect 99999 2 3 4\n"), 4},
      {"negative size", Head("rect 1 2 -3 4\n"), 4},
      {"too few values", Head("rect 1 2 3\n"), 4},
      {"unknown colour", Head("rect 1 2 3 4 fill=blue\n"), 4},
      {"bad hex colour", Head("rect 1 2 3 4 fill=#12345\n"), 4},
      {"unknown option", Head("rect 1 2 3 4 glow=1\n"), 4},
      {"option twice", Head("rect 1 2 3 4 fill=#000000 fill=#000000\n"), 4},
      {"unknown font", Head("text 1 2 \"a\" font=big\n"), 4},
      {"unknown screen", Head("on third\nend\n"), 4},
      {"unclosed quote", Head("text 1 2 \"abc\n"), 4},
      {"unknown escape", Head("text 1 2 \"a\\tb\"\n"), 4},
      {"quote in a word", Head("text 1 2 ab\"c\"\n"), 4},
      {"block not closed", Head("group 1 1\nrect 1 1 1 1 fill=#000000\n"), 4},
      {"end without block", Head("end\n"), 4},
      {"button in a button", Head("button 0 0 1 1 command=a\nbutton 0 0 1 1 command=b\n"), 5},
      {"look outside a button", Head("hover\n"), 4},
      {"button without command", Head("button 0 0 1 1\n"), 4},
      {"on inside a block", Head("group 0 0\non home\n"), 5},
      {"nested too deep", deep, 12},
      {"definition after shapes", Head("rect 0 0 1 1 fill=#000000\ncolor a #000000\n"), 5},
      {"screens twice", Head("screens again\n"), 4},
      {"shape before screens", "corvane-movie 1\nrect 0 0 1 1\n", 2},
      {"no screens", "corvane-movie 1\nsize 10 10\n", 0},
      {"name twice", Head("color a #000000\ncolor a #111111\n"), 5},
      {"stops out of order", Head("gradient g linear 0 0 1 1 0.5:#000000 0.2:#FFFFFF\n"), 4},
      {"one stop", Head("gradient g linear 0 0 1 1 0:#000000\n"), 4},
      {"nine stops", Head("gradient g radial 0.5 0.5 1 0:#000000 0:#000000 0:#000000 0:#000000 "
                          "0:#000000 0:#000000 0:#000000 0:#000000 1:#000000\n"),
       4},
      {"odd points", Head("polygon 0 0 1 1 2\n"), 4},
      {"zero byte", Head(std::string("rect 0 0 1 1\0", 13) + "\n"), 4},
      {"long line", Head("rect 0 0 1 1 " + std::string(5000, ' ') + "\n"), 4},
      {"long text", Head("text 0 0 \"" + std::string(300, 'a') + "\"\n"), 4},
      {"movie too large", Head("size 5000 10\n"), 4},
      {"bad weight", Head("font b \"Arial\" 12 heavy\n"), 4},
      {"long tip", Head("button 0 0 1 1 command=a tip=\"" + std::string(81, 'a') + "\"\nend\n"), 4},
  };
  for (const BadCase& c : cases) {
    corvane::testing::ExpectRefusedAtLine(Read(c.text), &MovieReadResult::movie, c.what, c.line);
  }
}

TEST(MovieReader, KeepsCountsWithinTheirLimits) {
  auto many = [](const char* line, std::size_t n) {
    std::string body;
    for (std::size_t i = 0; i < n; ++i) body += line;
    return Head(body);
  };
  EXPECT_TRUE(Read(many("button 0 0 1 1 command=a\nend\n", MovieLimits::kMaxButtons)).movie);
  EXPECT_FALSE(Read(many("button 0 0 1 1 command=a\nend\n", MovieLimits::kMaxButtons + 1)).movie);
  EXPECT_TRUE(Read(many("rect 0 0 1 1 fill=#000000\n", MovieLimits::kMaxShapes)).movie);
  // The drawing budget: 64 shapes over the whole movie are fine, 65 too many,
  // however far beyond the movie they reach.
  EXPECT_TRUE(Read(many("rect -9000 -9000 16000 16000 fill=#000000\n", 64)).movie);
  auto heavy = Read(many("rect -9000 -9000 16000 16000 fill=#000000\n", 65));
  EXPECT_FALSE(heavy.movie);
  EXPECT_EQ(heavy.line, 0);
  EXPECT_FALSE(Read(many("rect 0 0 1 1 fill=#000000\n", MovieLimits::kMaxShapes + 1)).movie);
  std::string fonts;
  for (std::size_t i = 0; i <= MovieLimits::kMaxFonts; ++i) fonts += "font f" + std::to_string(i) + " \"A\" 10\n";
  EXPECT_FALSE(Read("corvane-movie 1\n" + fonts + "screens home\n").movie);
  std::string screens = "corvane-movie 1\nscreens";
  for (int i = 0; i <= kMaxScreens; ++i) screens += " s" + std::to_string(i);
  EXPECT_FALSE(Read(screens + "\n").movie);
  std::string points = "polyline";
  for (std::size_t i = 0; i <= MovieLimits::kMaxPoints; ++i) points += " 1 2";
  EXPECT_FALSE(Read(Head(points + "\n")).movie);
  std::string big = Head("") + std::string(MovieLimits::kMaxFileBytes, '#');
  auto result = Read(big);
  EXPECT_FALSE(result.movie);
  EXPECT_EQ(result.line, 0);
}

TEST(MovieReader, ATruncatedMovieIsReadOrRefusedNeverHalfRead) {
  auto whole = ReadMovieFile(testing::ProgramMoviePath());
  ASSERT_TRUE(whole.movie) << whole.line << ": " << whole.error;
  std::ifstream in(testing::ProgramMoviePath(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string source = text.str();
  int read = 0;
  // Cuts inside lines (every 211th byte) and at every fifth line's end.
  std::vector<std::size_t> cuts;
  for (std::size_t cut = 0; cut < source.size(); cut += 211) cuts.push_back(cut);
  int line = 0;
  for (std::size_t i = 0; i < source.size(); ++i) {
    if (source[i] == '\n' && ++line % 5 == 0) cuts.push_back(i + 1);
  }
  for (std::size_t cut : cuts) {
    auto result = ReadMovie(std::string_view(source).substr(0, cut));
    if (result.movie) {
      ++read;
      EXPECT_LE(result.movie->items.size(), whole.movie->items.size());
    } else {
      EXPECT_FALSE(result.error.empty());
    }
  }
  EXPECT_GT(read, 0);  // cuts between top-level statements are whole movies
  EXPECT_FALSE(ReadMovieFile(testing::ProgramMoviePath() + ".missing").movie);
}

// What the main window relies on: every command of its table has a button,
// spelt exactly; the home and about screens exist; and nothing that must
// stay reachable while a feature window shows lies under the child frame.
TEST(ProgramMovie, HasAButtonForEveryCommandOfTheMainWindow) {
  auto result = ReadMovieFile(testing::ProgramMoviePath());
  ASSERT_TRUE(result.movie) << result.line << ": " << result.error;
  const Movie& m = *result.movie;
  EXPECT_EQ(m.width, 675);
  EXPECT_EQ(m.height, 435);
  EXPECT_EQ(m.screens.front(), "home");
  std::vector<std::string> commands = Commands(m);
  for (const char* expected :
       {"IDC_FS_wizardMode", "IDC_FS_normalMode", "IDC_FS_backupManger", "IDC_FS_pingSetting",
        "IDC_FS_systemSatus", "IDC_FS_ramConfig", "IDC_FS_settings", "IDC_FS_help", "IDC_FS_about",
        "IDC_FS_closeAbout", "IDC_FS_internetProperties", "IDC_FS_systemSetting",
        "IDC_FS_modemSetting", "IDC_FS_networkSetting", "IDC_FS_restart", "IDC_FS_tray",
        "IDC_FS_minimize", "IDC_FS_close", "Drag", "IDC_FS_home", "IDC_FS_main", "IDC_FS_hide",
        "IDC_FS_sysSettingClicked"}) {
    EXPECT_NE(std::find(commands.begin(), commands.end(), expected), commands.end()) << expected;
  }
  for (const std::string& c : commands) {
    EXPECT_TRUE(c == "Drag" || c.rfind("IDC_FS_", 0) == 0) << c;
  }
  EXPECT_TRUE(FindButton(m, "about", "IDC_FS_closeAbout"));
  for (const Button& b : m.buttons) {
    EXPECT_EQ(b.trigger == Trigger::Press, b.command == "Drag") << b.command;
  }

  // The child frame: left 181, top 104, up to 460 x 255.
  const RectF frame{181, 104, 460, 255};
  auto overlaps = [](const RectF& a, const RectF& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
  };
  for (const char* feature : {"wizard", "advanced", "backups", "pinger", "status", "ram", "settings"}) {
    int s = m.ScreenIndex(feature);
    ASSERT_GE(s, 0) << feature;
    for (int b : ButtonsOnScreen(m, s)) {
      EXPECT_FALSE(overlaps(m.buttons[static_cast<std::size_t>(b)].box, frame))
          << m.buttons[static_cast<std::size_t>(b)].command << " under the frame on " << feature;
    }
    // Going home is always at hand.
    EXPECT_TRUE(FindButton(m, feature, "IDC_FS_home"));
    EXPECT_TRUE(FindButton(m, feature, "IDC_FS_hide"));
  }
  // Every screen but home can be reached from home.
  for (std::size_t s = 1; s < m.screens.size(); ++s) {
    bool reachable = false;
    for (int b : ButtonsOnScreen(m, 0)) {
      reachable |= m.buttons[static_cast<std::size_t>(b)].gotoScreen == static_cast<int>(s);
    }
    EXPECT_TRUE(reachable) << m.screens[s];
  }
}

}  // namespace
}  // namespace corvane::movie
