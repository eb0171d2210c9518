// Loading, starting, stopping and unloading the module by path.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace cs::e2e
