// Reference counting, query by name and creation of the panel, aircraft and
// gauge callbacks.
#include <gtest/gtest.h>

#include "properties/AircraftCallback.h"
#include "properties/GaugeCallback.h"
#include "properties/PanelCallback.h"
#include "properties/PropertyCatalogue.h"

namespace cs {
namespace {

// The three kinds behind their host interfaces, made fresh for each test.
struct Objects {
    Objects()
        : panel(createPanelCallback(kVariantContactScope)),
          aircraft(panel->createAircraftCallback(0)),
          gauge(aircraft->createGaugeCallback()) {}
    ~Objects() {
        gauge->release();
        aircraft->release();
        panel->release();
    }
    IPanelCCallback* panel;
    IAircraftCCallback* aircraft;
    IGaugeCCallback* gauge;
};

TEST(CallbackObjects, FreshObjectsCountFromOne) {
    IPanelCCallback* panel = createPanelCallback(kVariantVa9vedored);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->addRef(), 2u);
    EXPECT_EQ(panel->release(), 1u);
    EXPECT_EQ(panel->release(), 0u);  // destroyed here; the sanitizers see any leak

    IAircraftCCallback* aircraft = createAircraftCallbackObject();
    ASSERT_NE(aircraft, nullptr);
    EXPECT_EQ(aircraft->addRef(), 2u);
    EXPECT_EQ(aircraft->addRef(), 3u);
    EXPECT_EQ(aircraft->release(), 2u);
    EXPECT_EQ(aircraft->release(), 1u);
    EXPECT_EQ(aircraft->release(), 0u);

    IGaugeCCallback* gauge = new MyGaugeCCallback();
    EXPECT_EQ(gauge->addRef(), 2u);
    EXPECT_EQ(gauge->release(), 1u);
    EXPECT_EQ(gauge->release(), 0u);
}

TEST(CallbackObjects, EveryCreationMakesANewObjectOwnedByTheCaller) {
    Objects objects;
    IAircraftCCallback* secondAircraft = objects.panel->createAircraftCallback(12345);
    ASSERT_NE(secondAircraft, nullptr);
    EXPECT_NE(secondAircraft, objects.aircraft);
    IGaugeCCallback* secondGauge = objects.aircraft->createGaugeCallback();
    ASSERT_NE(secondGauge, nullptr);
    EXPECT_NE(secondGauge, objects.gauge);

    // Children hold no reference on their creator: the panel count is still 1.
    EXPECT_EQ(objects.panel->addRef(), 2u);
    EXPECT_EQ(objects.panel->release(), 1u);
    EXPECT_EQ(secondAircraft->release(), 0u);
    EXPECT_EQ(secondGauge->release(), 0u);
}

TEST(CallbackObjects, ChildrenOutliveTheirCreator) {
    IPanelCCallback* panel = createPanelCallback(kVariantVa9vedored);
    IAircraftCCallback* aircraft = panel->createAircraftCallback(0);
    EXPECT_EQ(panel->release(), 0u);
    IGaugeCCallback* gauge = aircraft->createGaugeCallback();
    EXPECT_EQ(aircraft->release(), 0u);
    double range = 0.0;
    EXPECT_TRUE(gauge->getNumberProperty(property::Range, &range));
    EXPECT_EQ(range, 15.0);
    EXPECT_EQ(gauge->release(), 0u);
}

TEST(CallbackObjects, PanelAnswersItsVersionAndAircraftUpdateDoesNothing) {
    Objects objects;
    EXPECT_EQ(objects.panel->version(), 0x20001u);
    objects.aircraft->update();
    objects.gauge->update();
    EXPECT_EQ(objects.aircraft->addRef(), 2u);
    EXPECT_EQ(objects.aircraft->release(), 1u);
}

struct QueryCase {
    const char* name;
    bool answersSelf;
};

class QueryByName : public ::testing::TestWithParam<QueryCase> {};

TEST_P(QueryByName, AllThreeKindsAnswerOnlyTheModuleName) {
    const QueryCase& c = GetParam();
    Objects objects;
    IPanelCCallback* panel = objects.panel->queryByName(c.name);
    IAircraftCCallback* aircraft = objects.aircraft->queryByName(c.name);
    IGaugeCCallback* gauge = objects.gauge->queryByName(c.name);
    EXPECT_EQ(panel, c.answersSelf ? objects.panel : nullptr);
    EXPECT_EQ(aircraft, c.answersSelf ? objects.aircraft : nullptr);
    EXPECT_EQ(gauge, c.answersSelf ? objects.gauge : nullptr);
    // The answer carries no new reference.
    EXPECT_EQ(objects.panel->addRef(), 2u);
    EXPECT_EQ(objects.panel->release(), 1u);
    EXPECT_EQ(objects.aircraft->addRef(), 2u);
    EXPECT_EQ(objects.aircraft->release(), 1u);
    EXPECT_EQ(objects.gauge->addRef(), 2u);
    EXPECT_EQ(objects.gauge->release(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Names, QueryByName,
    ::testing::Values(QueryCase{"va9vedored", true}, QueryCase{"VA9VEDORED", true},
                      QueryCase{"Va9VeDoReD", true}, QueryCase{"vA9vEdOrEd", true},
                      QueryCase{"va9vedoreD", true}, QueryCase{"ContactScope", false},
                      QueryCase{"contactscope", false}, QueryCase{"ITrafficInfo", false},
                      QueryCase{"va9vedore", false}, QueryCase{"va9vedored ", false},
                      QueryCase{"va9vedoredx", false}, QueryCase{"", false},
                      QueryCase{nullptr, false}));

}  // namespace
}  // namespace cs
