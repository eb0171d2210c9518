// The module seen from outside: its exports, the names it registers, the
// displays those names lead to and the parameters each display declares.
#include <cstring>

#include "ModuleFixture.h"

namespace cs::e2e {
namespace {

using ModuleInterface = ModuleTest;

TEST_F(ModuleInterface, ExportsAndRegistrations) {
    ASSERT_NE(module.linkage(), nullptr);
    ASSERT_NE(module.importTable(), nullptr);
    ASSERT_NE(module.panels(), nullptr);
    EXPECT_EQ(module.linkage()->identifier, 729u);
    EXPECT_EQ(module.linkage()->start, module.dllStart());
    EXPECT_EQ(module.linkage()->stop, module.dllStop());
    EXPECT_EQ(module.importTable()->panelServices.table, host.services());
    EXPECT_NE(host.find("va9vedored"), nullptr);
    EXPECT_NE(host.find("ContactScope"), nullptr);
    module.stop();
    EXPECT_EQ(host.find("va9vedored"), nullptr);
    EXPECT_EQ(host.find("ContactScope"), nullptr);
}

TEST_F(ModuleInterface, ServicesHandedOverThroughPanels) {
    module.stop();
    sim::SimHost other;  // a second host, now the active one
    ASSERT_TRUE(module.handOver(other.services(), sim::HandOverRoute::Panels));
    module.start();
    EXPECT_EQ(module.importTable()->panelServices.table, other.services());
    EXPECT_NE(other.find("ContactScope"), nullptr);
    module.stop();
    *module.panels() = nullptr;
    module.handOver(host.services());
    host.activate();
    module.start();
}

struct DisplayName {
    const char* panel;
    const char* display;
    int32_t id;
};

TEST_F(ModuleInterface, DisplayNamesOfBothRegistrations) {
    const DisplayName names[] = {
        {"va9vedored", "radar", 0},
        {"va9vedored", "TCAS", 1},
        {"ContactScope", "tcas", 0},  // this registration's TCAS name leads to the radar
    };
    for (const DisplayName& name : names) {
        SCOPED_TRACE(std::string(name.panel) + "/" + name.display);
        sim::GaugeHost g(host);
        ASSERT_TRUE(g.create(name.panel, name.display));
        EXPECT_EQ(g.display().id(), name.id);
        EXPECT_EQ(g.display().declarations().declarations().size(), 29u);
    }
    sim::GaugeHost g(host);
    EXPECT_FALSE(g.create("ContactScope", "radar"));
    EXPECT_EQ(g.stage(), sim::GaugeCreateStage::DisplayNotNamed);
    EXPECT_FALSE(g.create("NoSuchGauge", "tcas"));
    EXPECT_EQ(g.stage(), sim::GaugeCreateStage::PanelNotFound);
}

TEST_F(ModuleInterface, UnknownKindDeclaresButCreatesNothing) {
    open("va9vedored", "tcas");
    EXPECT_EQ(gauge->addDisplayById(2), nullptr);
    EXPECT_EQ(gauge->stage(), sim::GaugeCreateStage::NoDrawable);
}

TEST_F(ModuleInterface, FreshGaugeDrawsABlackFrameAndPublishesNothing) {
    open("va9vedored", "tcas");
    canvas.clear(0x00000000u);
    EXPECT_TRUE(draw());
    EXPECT_EQ(canvas.count(kBlack), static_cast<long>(kCanvasPx) * kCanvasPx);
    EXPECT_FALSE(draw());
    EXPECT_EQ(gauge->number("range"), 15.0);
    EXPECT_EQ(gauge->number("advisory"), 0.0);
    EXPECT_EQ(gauge->text("toolTip"), "");
    EXPECT_EQ(gauge->text("advisoryId"), "");
}

TEST_F(ModuleInterface, GaugeReleasedBeforeItsDisplayIsHarmless) {
    open("va9vedored", "tcas");
    host.scenario().addRelative(7, 0.0, 3.0, 0.0, 180.0, 300.0);
    gauge->run(2.0);
    EXPECT_EQ(gauge->releaseGauge(), 0u);
    gauge->run(2.0);  // the drawable lives on, detached: no cycle, no frame
    EXPECT_FALSE(draw());
}

}  // namespace
}  // namespace cs::e2e
