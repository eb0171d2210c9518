// Loading, starting, stopping and unloading the module by path.
#include <gtest/gtest.h>

#include "simhost/Canvas.h"
#include "simhost/GaugeHost.h"
#include "simhost/ModuleLoader.h"
#include "simhost/SimHost.h"

namespace cs::e2e {
namespace {

TEST(ModuleLoader, RefusesWhatIsNoModule) {
    sim::ModuleLoader loader;
    EXPECT_FALSE(loader.load("/nonexistent/ContactScope.so"));
    EXPECT_FALSE(loader.error().empty());
    EXPECT_FALSE(loader.loaded());
    EXPECT_FALSE(loader.load("libm.so.6"));  // a library, but without the entry points
    EXPECT_FALSE(loader.loaded());
    EXPECT_FALSE(loader.start());
    EXPECT_FALSE(loader.handOver(nullptr));
}

TEST(ModuleLoader, StartsStopsAndStartsAgainAfterAReload) {
    sim::SimHost host;
    sim::ModuleLoader loader;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(loader.load(CS_MODULE_PATH)) << loader.error();
        EXPECT_NE(loader.symbol("Linkage"), nullptr);
        EXPECT_EQ(loader.symbol("NoSuchExport"), nullptr);
        ASSERT_TRUE(loader.handOver(host.services()));
        host.clearRegistrationLog();
        ASSERT_TRUE(loader.start());
        ASSERT_EQ(host.registrationLog().size(), 2u);
        EXPECT_EQ(host.registrationLog()[0].name, "va9vedored");
        EXPECT_EQ(host.registrationLog()[1].name, "ContactScope");
        loader.unload();  // stops first: both names are removed
        EXPECT_EQ(host.registrationLog().size(), 4u);
        EXPECT_EQ(host.find("ContactScope"), nullptr);
        EXPECT_FALSE(loader.loaded());
    }
}

// Drawing brings up the module's text stack (Pango, GLib); a host that unloads
// the module and loads it again must still be able to draw.
TEST(ModuleLoader, DrawsAgainAfterAReload) {
    sim::SimHost host;
    sim::ModuleLoader loader;
    sim::Canvas canvas(64, 64);
    host.scenario().addRelative(2, 0.0, 2.0, 500.0);  // shown with an altitude tag
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(loader.load(CS_MODULE_PATH)) << loader.error();
        ASSERT_TRUE(loader.handOver(host.services()));
        ASSERT_TRUE(loader.start());
        {
            sim::GaugeHost gauge(host);
            ASSERT_TRUE(gauge.create("ContactScope", "tcas"));
            gauge.run(3.0);
            EXPECT_TRUE(gauge.display().draw(64, 64, canvas.dc()));
            EXPECT_LT(canvas.count(0xFF000000u), 64 * 64) << "the traffic and its tag are drawn";
        }
        loader.unload();
    }
}

}  // namespace
}  // namespace cs::e2e
