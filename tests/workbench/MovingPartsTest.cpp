// The moving-parts fixtures (tests/workbench/fixtures/moving) run through
// the workbench, their drawing commands recorded: the needle's angle and
// pivot over its nonlinearity table and delay, the drums' offsets behind
// their mask, the tape's slide and clip, the attitude ball's nested turn and
// shift, the shapes, and a module's picture inside a rotation drawn upright
// with a warning. Every expected number is worked out by hand from the
// fixture in the comments.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "tests/workbench/SharedWorkbench.h"
#include "testsupport/RecordingReplayer.h"
#include "tools/workbench/ElementScope.h"

namespace cs::workbench {
namespace {

namespace fs = std::filesystem;

const std::string kMoving = CS_SOURCE_DIR "/tests/workbench/fixtures/moving/";
constexpr double kDegree = 3.14159265358979323846 / 180.0;

struct Recorded {
    std::vector<DrawList> lists;
    std::vector<std::string> loadProblems;
    std::vector<double> times;
};

// A scenario without traffic of `duration`, with `extra` JSON fields.
preview::PreviewScenario scenario(const std::string& duration, const std::string& extra) {
    return preview::parseScenario(
        R"({"duration": ")" + duration +
            R"(", "own": {"latitude": 47, "longitude": 8, "altitude": "5000 ft"}, "traffic": [])" +
            (extra.empty() ? "" : ", " + extra) + "}",
        "moving.json");
}

// A scenario file of the fixtures.
preview::PreviewScenario fileScenario(const std::string& name) {
    std::ifstream in(kMoving + name, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return preview::parseScenario(text, kMoving + name);
}

// The airspeed held at `knots` from the start, then `then` knots from 0.75 s.
std::string airspeed(double knots, double then) {
    return R"("aircraftVariables": {"AIRSPEED INDICATED": [{"at": "0 s", "value": ")" +
           std::to_string(knots) + R"( knots"}, {"at": "0.75 s", "value": ")" +
           std::to_string(then) + R"( knots"}]})";
}

class MovingParts : public SharedWorkbench {
  protected:
    Recorded record(const std::string& gauge, preview::PreviewScenario s, double every) {
        auto recorder = std::make_unique<RecordingReplayer>();
        RecordingReplayer* pictures = recorder.get();
        bench_->useReplayer(std::move(recorder));
        WorkbenchOptions options;
        options.gauges = {gauge};
        options.outDir.clear();
        options.writeFrames = false;
        options.writeLog = false;
        options.frameIntervalS = every;
        Recorded out;
        gauge::Diagnostics d;
        EXPECT_TRUE(bench_->load(options, d))
            << (d.problems().empty() ? "" : d.problems()[0].text());
        for (const gauge::Problem& p : d.problems()) {
            out.loadProblems.push_back(p.text());
        }
        bench_->resolve(s);
        gauge::Diagnostics runtime;
        const ScenarioRun run = bench_->run(s, options, runtime);
        for (const ViewFrame& f : run.frames) {
            out.times.push_back(f.time);
        }
        out.lists = pictures->lists;
        return out;
    }
};

// The command drawn for the element part at `line`.
const DrawCommand& at(const DrawList& list, int line) {
    for (const DrawCommand& c : list.commands) {
        if (c.line == line) {
            return c;
        }
    }
    throw std::runtime_error("nothing drawn for line " + std::to_string(line));
}

// How far a command's transform turns its x axis, in degrees clockwise,
// between -180 and 180.
double turn(const DrawCommand& c) {
    return std::atan2(c.transform.yx, c.transform.xx) / kDegree;
}

double wrap(double degrees) {
    return std::remainder(degrees, 360.0);
}

// needle.xml: the needle image (line 12, PointsTo East, axis 10,4) in the
// element at 100,100. The table puts 0 kt at 100,180 (straight down, 180
// degrees from 12 o'clock), 50 kt at 20,100 (270), 100 kt at 100,20 (360)
// and 200 kt at 90 degrees, taken the short way on from 360 (450); the
// bitmap turns by that less the 90 of East. Minimum 0, Maximum 200.
struct NeedleCase {
    double knots;
    double direction;  // degrees clockwise from 12 o'clock
};

TEST_F(MovingParts, NeedleFollowsItsNonlinearityTable) {
    const NeedleCase cases[] = {{0, 180},   {25, 225},  {50, 270},  {75, 315}, {150, 405},
                                {200, 450}, {250, 450}, {-10, 180}, {120, 378}};
    for (const NeedleCase& c : cases) {
        const Recorded r =
            record(kMoving + "needle.xml", scenario("1 s", airspeed(c.knots, c.knots)), 10.0);
        ASSERT_EQ(r.lists.size(), 1u);
        const DrawCommand& needle = at(r.lists[0], 12);
        EXPECT_EQ(needle.op, DrawOp::Image);
        EXPECT_NEAR(wrap(turn(needle) - (c.direction - 90.0)), 0.0, 1e-9) << c.knots << " kt";
        // The image's axis sits on the element's position, whatever the turn.
        EXPECT_NEAR(needle.transform.mapX(10, 4), 100.0, 1e-9) << c.knots << " kt";
        EXPECT_NEAR(needle.transform.mapY(10, 4), 100.0, 1e-9) << c.knots << " kt";
    }
}

// The delay: 90 degrees a second is 5 degrees a tick (18 a second). The
// airspeed steps from 0 to 100 kt at 0.75 s, the target from 180 to 360;
// the first tick past it is the 14th (0.78 s), so the needle has made 5
// steps by 1 s (205), 23 by 2 s (295) and reached 360 by 3 s.
TEST_F(MovingParts, NeedleTurnsNoFasterThanItsDelay) {
    const Recorded r = record(kMoving + "needle.xml", scenario("3 s", airspeed(0, 100)), 1.0);
    const double expected[] = {180, 205, 295, 360};
    ASSERT_EQ(r.lists.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(wrap(turn(at(r.lists[i], 12)) - (expected[i] - 90.0)), 0.0, 1e-6)
            << "at " << r.times[i] << " s";
    }
}

// The needle fixture's own scenario: 0 to 200 kt over 20 s, slowly enough
// (at most 18 degrees a second) for the delay never to hold it back. Each
// picture's needle points where the airspeed of that moment says.
TEST_F(MovingParts, NeedleScenarioFramesFollowTheAirspeed) {
    preview::PreviewScenario s = fileScenario("needle.json");
    const Recorded r = record(kMoving + "needle.xml", s, 4.0);
    // 0, 40, 80, 120, 160 and 200 kt.
    const double expected[] = {180, 252, 324, 378, 414, 450};
    ASSERT_EQ(r.lists.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_NEAR(wrap(turn(at(r.lists[i], 12)) - (expected[i] - 90.0)), 0.0, 1e-6)
            << "at " << r.times[i] << " s";
    }
}

// drum.xml at 123.5: the drums' values are 1, 2 and 3.5, shifted 10 units a
// digit (the table's 0 -> 0, 10 -> 100). Each drum (axis 0,110) sits with its
// axis on the window's (10,20) of its mask, the mask's corner at the
// element's position (0, 12, 24): the image's corner is at
// (x + 10, 20 - 110 + shift) = (x + 10, shift - 90).
TEST_F(MovingParts, DrumsSlideBehindTheirMasks) {
    const Recorded r = record(kMoving + "drum.xml",
                              scenario("1 s", R"("localVariables": {"count": 123.5})"), 10.0);
    ASSERT_EQ(r.lists.size(), 1u);
    const struct {
        int imageLine, maskLine;
        double x, shift;
    } drums[] = {{9, 8, 0, 10}, {18, 17, 12, 20}, {27, 26, 24, 35}};
    for (const auto& d : drums) {
        const DrawCommand& drum = at(r.lists[0], d.imageLine);
        EXPECT_FALSE(turns(drum.transform));
        EXPECT_DOUBLE_EQ(drum.transform.dx, d.x + 10) << "line " << d.imageLine;
        EXPECT_DOUBLE_EQ(drum.transform.dy, d.shift - 90) << "line " << d.imageLine;
        ASSERT_EQ(drum.masks.size(), 1u);
        const ClipMask& mask = drum.masks[0];
        EXPECT_EQ(mask.line, d.maskLine);
        EXPECT_DOUBLE_EQ(mask.transform.dx, d.x);
        EXPECT_DOUBLE_EQ(mask.transform.dy, 0.0);
        EXPECT_DOUBLE_EQ(mask.width, 40.0);
        EXPECT_DOUBLE_EQ(mask.height, 30.0);
    }
}

// tape.xml: the tape (axis 0,190) in the element at 20,60 slides down a unit
// a knot: its corner is at (20, 60 - 190 + shift). The delay of 36 units a
// second is 2 a tick: from 0 to 100 kt at 0.75 s it has moved 10 by 1 s
// (5 ticks) and 46 by 2 s (23 ticks); at 3 s, 82. The clip is the box from
// 10,10 to 50,110 of the gauge, which sits at the picture's corner.
TEST_F(MovingParts, TapeSlidesWithinItsClip) {
    const Recorded r = record(kMoving + "tape.xml", scenario("3 s", airspeed(0, 100)), 1.0);
    const double shift[] = {0, 10, 46, 82};
    ASSERT_EQ(r.lists.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const DrawCommand& tape = at(r.lists[i], 13);
        EXPECT_NEAR(tape.transform.dy, shift[i] - 130, 1e-6) << "at " << r.times[i] << " s";
        EXPECT_DOUBLE_EQ(tape.transform.dx, 20.0);
        EXPECT_TRUE(tape.masks.empty());
        EXPECT_DOUBLE_EQ(tape.clip.x, 10.0);
        EXPECT_DOUBLE_EQ(tape.clip.y, 10.0);
        EXPECT_DOUBLE_EQ(tape.clip.width, 40.0);
        EXPECT_DOUBLE_EQ(tape.clip.height, 100.0);
    }
    // The frame and the index line are not clipped by it.
    EXPECT_DOUBLE_EQ(at(r.lists[0], 8).clip.height, 120.0);
}

// attitude_fsx.xml, bank 30 and pitch 10: the ball turns by -30 degrees
// (the script negates the bank) about its mask's axis 50,50; the nested
// element at 50,50 of the ball sits on that pivot and slides its horizon
// 2 units a degree along the turned axes. The horizon's axis (60,80) lands
// at 50,50 + R(-30)(0, 20) = (50 + 10, 50 + 17.32). The mask, the outer
// element's, stays unturned at the gauge's corner and clips the nested
// image too.
TEST_F(MovingParts, AttitudeComposesNestedTurnAndShift) {
    const Recorded r =
        record(kMoving + "attitude_fsx.xml",
               scenario("1 s", R"("localVariables": {"bank": 30, "pitch": 10})"), 10.0);
    ASSERT_EQ(r.lists.size(), 1u);
    ASSERT_TRUE(r.loadProblems.empty()) << r.loadProblems[0];
    const DrawCommand& horizon = at(r.lists[0], 23);
    EXPECT_NEAR(turn(horizon), -30.0, 1e-9);
    EXPECT_NEAR(horizon.transform.mapX(60, 80), 60.0, 1e-9);
    EXPECT_NEAR(horizon.transform.mapY(60, 80), 50.0 + 20.0 * std::cos(30 * kDegree), 1e-9);
    ASSERT_EQ(horizon.masks.size(), 1u);
    EXPECT_EQ(horizon.masks[0].line, 11);
    EXPECT_FALSE(turns(horizon.masks[0].transform));
    EXPECT_DOUBLE_EQ(horizon.masks[0].width, 100.0);
    // The fixed aircraft symbol: a 50-unit line and a dot of radius 3.
    const DrawCommand& wings = at(r.lists[0], 38);
    EXPECT_EQ(wings.op, DrawOp::Path);
    ASSERT_EQ(wings.points.size(), 2u);
    EXPECT_DOUBLE_EQ(wings.points[1].x, 50.0);
    EXPECT_DOUBLE_EQ(wings.transform.dx, 25.0);
    EXPECT_EQ(wings.rectangle.line.rgb, 0xFFA500u);
    const DrawCommand& dot = at(r.lists[0], 45);
    EXPECT_EQ(dot.op, DrawOp::Ellipse);
    EXPECT_DOUBLE_EQ(dot.width, 6.0);
    EXPECT_DOUBLE_EQ(dot.transform.dx, 47.0);
    EXPECT_DOUBLE_EQ(dot.transform.dy, 46.0);
}

// A bank past the rotation's Maximum of 1.5 radians stops there.
TEST_F(MovingParts, AttitudeBankStopsAtItsLimit) {
    const Recorded r = record(kMoving + "attitude_fsx.xml",
                              scenario("1 s", R"("localVariables": {"bank": -120})"), 10.0);
    ASSERT_EQ(r.lists.size(), 1u);
    EXPECT_NEAR(turn(at(r.lists[0], 23)), 1.5 / kDegree, 1e-9);
}

// shapes.xml: each shape at its element's position, in its colours; the
// marker turned a quarter clockwise puts its tip (0,-15) at (95+15, 60).
TEST_F(MovingParts, ShapesInTheirPlacesAndColours) {
    const Recorded r = record(kMoving + "shapes.xml", fileScenario("shapes.json"), 1.0);
    ASSERT_FALSE(r.lists.empty());
    const DrawList& list = r.lists[0];
    const DrawCommand& circle = at(list, 8);
    EXPECT_EQ(circle.op, DrawOp::Ellipse);
    EXPECT_DOUBLE_EQ(circle.width, 30.0);
    EXPECT_DOUBLE_EQ(circle.transform.dx, 5.0);
    EXPECT_EQ(circle.rectangle.fill.rgb, 0x0000FFu);
    EXPECT_EQ(circle.rectangle.line.rgb, 0xFFFF00u);
    const DrawCommand& polygon = at(list, 16);
    EXPECT_EQ(polygon.op, DrawOp::Path);
    EXPECT_TRUE(polygon.closed);
    EXPECT_EQ(polygon.points.size(), 3u);
    EXPECT_EQ(polygon.rectangle.fill.rgb, 0x008000u);  // "green", the web's
    const DrawCommand& line = at(list, 22);
    EXPECT_FALSE(line.closed);
    EXPECT_EQ(line.rectangle.line.rgb, 0xFF00FFu);
    const DrawCommand& marker = at(list, 29);
    EXPECT_NEAR(turn(marker), 90.0, 1e-9);
    EXPECT_NEAR(marker.transform.mapX(0, -15), 110.0, 1e-9);
    EXPECT_NEAR(marker.transform.mapY(0, -15), 60.0, 1e-9);
}

// What the simulator draws of a module's picture inside a rotation is not
// known: the workbench says so and draws it upright at its place.
TEST_F(MovingParts, ModulePictureInsideARotationIsDrawnUprightWithAWarning) {
    const fs::path dir = fs::path(CS_TEST_ARTIFACTS) / "moving-custom-draw";
    fs::create_directories(dir);
    std::ofstream(dir / "turned.xml")
        << "<Gauge Name=\"turned\">\n<Size X=\"200\" Y=\"200\"/>\n<Element>\n"
           "<Position X=\"50\" Y=\"60\"/>\n<Rotate><Value>0.5</Value></Rotate>\n"
           "<CustomDraw Name=\"va9vedored:radar\" X=\"80\" Y=\"80\"/>\n</Element>\n</Gauge>\n";
    const Recorded r = record((dir / "turned.xml").string(), scenario("1 s", ""), 10.0);
    ASSERT_EQ(r.loadProblems.size(), 1u);
    EXPECT_NE(r.loadProblems[0].find("turned.xml:6: warning: CustomDraw: not rotated"),
              std::string::npos)
        << r.loadProblems[0];
    ASSERT_EQ(r.lists.size(), 1u);
    const DrawCommand& area = at(r.lists[0], 6);
    EXPECT_EQ(area.op, DrawOp::Canvas);
    EXPECT_FALSE(turns(area.transform));
    EXPECT_DOUBLE_EQ(area.transform.dx, 50.0);
    EXPECT_DOUBLE_EQ(area.transform.dy, 60.0);
}

}  // namespace
}  // namespace cs::workbench
