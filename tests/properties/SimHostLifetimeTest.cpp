// The module's objects driven by the replacement host: registration through
// its registry, the object tree created on its requests, and the lifetimes
// of gauges and their drawables in either release order.
#include <gtest/gtest.h>

#include <vector>

#include "drawables/GaugeDrawable.h"
#include "host/ImportTable.h"
#include "module/ModuleEntry.h"
#include "properties/GaugeCallback.h"
#include "properties/PropertyCatalogue.h"
#include "simhost/SimHost.h"

namespace cs {
namespace {

class SimHostModule : public ::testing::Test {
  protected:
    SimHostModule() { host.install(); }
    ~SimHostModule() override {
        DLLStop();
        host.releaseHeldReferences();
        ImportTable.panelServices.table = nullptr;
        Panels = nullptr;
    }

    sim::SimHost host;
};

TEST_F(SimHostModule, StartRegistersBothCallbacksWithTheHost) {
    DLLStart();
    const auto& log = host.registrationLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].name, "va9vedored");
    EXPECT_EQ(log[0].callback, va9vedoredPanel);
    EXPECT_EQ(log[1].name, "ContactScope");
    EXPECT_EQ(log[1].callback, contactScopePanel);
    EXPECT_EQ(host.find("va9vedored"), va9vedoredPanel);
    EXPECT_EQ(host.find("ContactScope"), contactScopePanel);

    DLLStart();
    EXPECT_EQ(host.registrationLog().size(), 2u);
}

TEST_F(SimHostModule, StopEmptiesTheRegistryEvenWhenRepeated) {
    DLLStart();
    host.clearRegistrationLog();
    DLLStop();
    DLLStop();
    const auto& log = host.registrationLog();
    ASSERT_EQ(log.size(), 4u);
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].name, i % 2 == 0 ? "va9vedored" : "ContactScope");
        EXPECT_EQ(log[i].callback, nullptr);
    }
    EXPECT_EQ(host.find("va9vedored"), nullptr);
    EXPECT_EQ(host.find("ContactScope"), nullptr);
}

TEST_F(SimHostModule, HostReferencesAreGivenUpAtUnregistration) {
    host.addRefOnRegister = true;
    DLLStart();
    IPanelCCallback* panel = host.find("va9vedored");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->addRef(), 3u);  // module, host, this test
    DLLStop();                       // the module's and then the host's reference go
    EXPECT_EQ(panel->queryByName("VA9VEDORED"), panel);
    EXPECT_EQ(panel->release(), 0u);
}

TEST_F(SimHostModule, PanelsHandsOverTheTableInsteadOfTheImportRecord) {
    ImportTable.panelServices.table = nullptr;
    Panels = host.services();
    DLLStart();
    EXPECT_EQ(ImportTable.panelServices.table, host.services());
    EXPECT_EQ(host.find("ContactScope"), contactScopePanel);
}

TEST_F(SimHostModule, ObjectTreeFromTheRegisteredCallback) {
    DLLStart();
    IPanelCCallback* panel = host.find("ContactScope");
    ASSERT_NE(panel, nullptr);
    int32_t id = -1;
    ASSERT_TRUE(panel->propertyNameToId("TCAS", &id));
    IAircraftCCallback* aircraft = panel->createAircraftCallback(7);
    ASSERT_NE(aircraft, nullptr);
    IGaugeCCallback* gauge = aircraft->createGaugeCallback();
    ASSERT_NE(gauge, nullptr);
    IGaugeCDrawable* display = gauge->createDrawable(id, nullptr);
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(static_cast<MyGaugeCDrawable*>(display)->gaugeCallback(),
              static_cast<MyGaugeCCallback*>(gauge));

    // The tree outlives the module's stop: the host owns it.
    DLLStop();
    display->update();
    EXPECT_EQ(display->release(), 0u);
    EXPECT_EQ(gauge->release(), 0u);
    EXPECT_EQ(aircraft->release(), 0u);
}

TEST_F(SimHostModule, OnlyTheTwoDisplayIdsMakeDrawables) {
    MyGaugeCCallback* gauge = new MyGaugeCCallback();
    for (int32_t id : {2, 6, 29, 30, -1, INT32_MIN}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(gauge->createDrawable(id, nullptr), nullptr);
    }
    for (int32_t id : {0, 1}) {
        IGaugeCDrawable* drawable = gauge->createDrawable(id, nullptr);
        ASSERT_NE(drawable, nullptr);
        EXPECT_EQ(drawable->release(), 0u);
    }
    EXPECT_EQ(gauge->release(), 0u);
}

MyGaugeCDrawable* makeDrawable(MyGaugeCCallback* gauge, int32_t kind) {
    return static_cast<MyGaugeCDrawable*>(gauge->createDrawable(kind, nullptr));
}

TEST_F(SimHostModule, GaugeReleasedFirstDetachesEveryDrawable) {
    MyGaugeCCallback* gauge = new MyGaugeCCallback();
    MyGaugeCDrawable* drawables[] = {makeDrawable(gauge, 0), makeDrawable(gauge, 1),
                                     makeDrawable(gauge, 0)};
    for (MyGaugeCDrawable* drawable : drawables) {
        ASSERT_NE(drawable, nullptr);
        EXPECT_EQ(drawable->gaugeCallback(), gauge);
    }
    EXPECT_EQ(gauge->release(), 0u);
    for (MyGaugeCDrawable* drawable : drawables) {
        EXPECT_EQ(drawable->gaugeCallback(), nullptr);
        EXPECT_EQ(drawable->nextInGauge, nullptr);
        // Updates of an orphaned drawable touch no freed gauge (ASan watches).
        host.advance(2.0);
        drawable->update();
    }
    for (MyGaugeCDrawable* drawable : drawables) {
        EXPECT_EQ(drawable->release(), 0u);
    }
}

TEST_F(SimHostModule, DrawablesReleasedInAnyOrderLeaveTheGaugeListSound) {
    // Release the middle, then the newest, then the gauge (which must not
    // visit the released ones), then the last drawable.
    MyGaugeCCallback* gauge = new MyGaugeCCallback();
    MyGaugeCDrawable* first = makeDrawable(gauge, 1);
    MyGaugeCDrawable* middle = makeDrawable(gauge, 0);
    MyGaugeCDrawable* newest = makeDrawable(gauge, 1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(middle, nullptr);
    ASSERT_NE(newest, nullptr);
    EXPECT_EQ(middle->release(), 0u);
    EXPECT_EQ(newest->release(), 0u);
    EXPECT_EQ(first->gaugeCallback(), gauge);
    EXPECT_EQ(gauge->release(), 0u);
    EXPECT_EQ(first->gaugeCallback(), nullptr);
    EXPECT_EQ(first->release(), 0u);
}

TEST_F(SimHostModule, DrawablesReleasedBeforeTheGauge) {
    MyGaugeCCallback* gauge = new MyGaugeCCallback();
    MyGaugeCDrawable* a = makeDrawable(gauge, 0);
    MyGaugeCDrawable* b = makeDrawable(gauge, 1);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->release(), 0u);
    EXPECT_EQ(b->release(), 0u);
    // A new drawable after the others went is the only one left to detach.
    MyGaugeCDrawable* c = makeDrawable(gauge, 0);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(gauge->release(), 0u);
    EXPECT_EQ(c->gaugeCallback(), nullptr);
    EXPECT_EQ(c->release(), 0u);
}

}  // namespace
}  // namespace cs
