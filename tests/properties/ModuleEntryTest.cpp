// Start and stop of the module against a recording services table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/ImportTable.h"
#include "module/ModuleEntry.h"
#include "properties/PropertyCatalogue.h"

namespace cs {
namespace {

struct RegistryEvent {
    int table;  // 1: the table in the import record, 2: the table handed over in Panels
    std::string name;
    IPanelCCallback* callback;  // null: unregistration
    uint32_t refCountAtCall;    // of the callback registered under the name, if any is known
};

// The registry as the tests' host sees it.
std::vector<RegistryEvent> events;
bool hostHoldsReferences = false;
std::vector<IPanelCCallback*> heldByHost;
IPanelCCallback* lastRegistered[2] = {};  // by variant: what the host last saw under the name

uint32_t refCountOf(IPanelCCallback* callback) {
    callback->addRef();
    return callback->release();
}

int nameSlot(const char* name) {
    return std::strcmp(name, "va9vedored") == 0 ? 0 : 1;
}

int32_t record(int table, const char* name, IPanelCCallback* callback) {
    const int slot = nameSlot(name);
    uint32_t count = 0;
    if (callback != nullptr) {
        if (hostHoldsReferences) {
            callback->addRef();
            heldByHost.push_back(callback);
        }
        lastRegistered[slot] = callback;
        count = refCountOf(callback);
    } else if (hostHoldsReferences && lastRegistered[slot] != nullptr) {
        // Only with a host reference is the object still safe to look at.
        count = refCountOf(lastRegistered[slot]);
    }
    if (callback == nullptr) {
        lastRegistered[slot] = nullptr;  // the host forgets an unregistered name
    }
    events.push_back({table, name, callback, count});
    return 1;
}

int32_t HOST_STDCALL registerOnTable1(const char* name, IPanelCCallback* callback) {
    return record(1, name, callback);
}
int32_t HOST_STDCALL registerOnTable2(const char* name, IPanelCCallback* callback) {
    return record(2, name, callback);
}

class ModuleEntryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table1.registerPanelCallback = &registerOnTable1;
        table2.registerPanelCallback = &registerOnTable2;
        events.clear();
        heldByHost.clear();
        hostHoldsReferences = false;
        lastRegistered[0] = lastRegistered[1] = nullptr;
        ImportTable.panelServices.table = &table1;
        Panels = nullptr;
    }

    void TearDown() override {
        DLLStop();
        for (IPanelCCallback* callback : heldByHost) {
            callback->release();
        }
        heldByHost.clear();
        ImportTable.panelServices.table = nullptr;
        Panels = nullptr;
    }

    static std::vector<std::string> names(const std::vector<RegistryEvent>& list) {
        std::vector<std::string> result;
        for (const RegistryEvent& event : list) {
            result.push_back((event.callback != nullptr ? "+" : "-") + event.name);
        }
        return result;
    }

    HostServices table1{};
    HostServices table2{};
};

TEST_F(ModuleEntryTest, ExportRecordsHaveTheHostLayoutValues) {
    EXPECT_EQ(ImportTable.panelServices.serviceId, 15u);
    EXPECT_EQ(ImportTable.terminator.serviceId, 0u);
    EXPECT_EQ(ImportTable.terminator.table, nullptr);
    EXPECT_EQ(Linkage.identifier, 729u);
    EXPECT_EQ(Linkage.start, &DLLStart);
    EXPECT_EQ(Linkage.stop, &DLLStop);
    EXPECT_EQ(Linkage.zero1, 0u);
    EXPECT_EQ(Linkage.zero2, 0u);
    EXPECT_EQ(Linkage.linkVersion, 0x900u);
    EXPECT_EQ(Linkage.gaugeList[0], nullptr);
}

TEST_F(ModuleEntryTest, StartRegistersBothNamesWithTheirVariants) {
    DLLStart();
    ASSERT_EQ(names(events), (std::vector<std::string>{"+va9vedored", "+ContactScope"}));
    EXPECT_EQ(events[0].callback, va9vedoredPanel);
    EXPECT_EQ(events[1].callback, contactScopePanel);
    EXPECT_EQ(events[0].refCountAtCall, 1u);
    EXPECT_EQ(events[1].refCountAtCall, 1u);

    // The two registrations differ in the names of the display ids.
    int32_t id = -7;
    EXPECT_TRUE(va9vedoredPanel->propertyNameToId("radar", &id));
    EXPECT_EQ(id, 0);
    EXPECT_FALSE(contactScopePanel->propertyNameToId("radar", &id));
    EXPECT_TRUE(contactScopePanel->propertyNameToId("TCAS", &id));
    EXPECT_EQ(id, 0);
}

TEST_F(ModuleEntryTest, SecondStartRegistersNothingNew) {
    DLLStart();
    IPanelCCallback* first = va9vedoredPanel;
    IPanelCCallback* second = contactScopePanel;
    DLLStart();
    EXPECT_EQ(events.size(), 2u);
    EXPECT_EQ(va9vedoredPanel, first);
    EXPECT_EQ(contactScopePanel, second);
    EXPECT_EQ(refCountOf(first), 1u);
    EXPECT_EQ(refCountOf(second), 1u);
}

TEST_F(ModuleEntryTest, PanelsReplacesTheImportSlotOnEveryStart) {
    Panels = &table2;
    DLLStart();
    EXPECT_EQ(ImportTable.panelServices.table, &table2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].table, 2);
    EXPECT_EQ(events[1].table, 2);

    // Even a start that registers nothing copies the table over again.
    ImportTable.panelServices.table = &table1;
    DLLStart();
    EXPECT_EQ(ImportTable.panelServices.table, &table2);
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(ModuleEntryTest, WithoutPanelsTheImportSlotIsKept) {
    DLLStart();
    EXPECT_EQ(ImportTable.panelServices.table, &table1);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].table, 1);
}

TEST_F(ModuleEntryTest, StopReleasesThenUnregistersBothNames) {
    hostHoldsReferences = true;
    DLLStart();
    IPanelCCallback* first = va9vedoredPanel;
    IPanelCCallback* second = contactScopePanel;
    EXPECT_EQ(refCountOf(first), 2u);  // the module's and the host's
    events.clear();

    DLLStop();
    EXPECT_EQ(va9vedoredPanel, nullptr);
    EXPECT_EQ(contactScopePanel, nullptr);
    ASSERT_EQ(names(events), (std::vector<std::string>{"-va9vedored", "-ContactScope"}));
    // By the time each name is removed the module has already given up its
    // reference: only the host's remains.
    EXPECT_EQ(events[0].refCountAtCall, 1u);
    EXPECT_EQ(events[1].refCountAtCall, 1u);

    // The host's reference keeps both objects alive and usable past the stop.
    EXPECT_EQ(first->queryByName("va9vedored"), first);
    EXPECT_EQ(second->version(), kPanelCallbackVersion);
    heldByHost.clear();
    EXPECT_EQ(first->release(), 0u);
    EXPECT_EQ(second->release(), 0u);
}

TEST_F(ModuleEntryTest, StopWithoutHostReferencesDestroysAndUnregisters) {
    DLLStart();
    events.clear();
    DLLStop();  // the sanitizers report a leak or a double release here
    EXPECT_EQ(va9vedoredPanel, nullptr);
    EXPECT_EQ(contactScopePanel, nullptr);
    EXPECT_EQ(names(events), (std::vector<std::string>{"-va9vedored", "-ContactScope"}));
}

TEST_F(ModuleEntryTest, SecondStopReleasesNothingButUnregistersAgain) {
    hostHoldsReferences = true;
    DLLStart();
    IPanelCCallback* first = va9vedoredPanel;
    DLLStop();
    events.clear();
    DLLStop();
    EXPECT_EQ(names(events), (std::vector<std::string>{"-va9vedored", "-ContactScope"}));
    EXPECT_EQ(refCountOf(first), 1u);  // still only the host's reference
}

TEST_F(ModuleEntryTest, StopBeforeAnyStartOnlyUnregisters) {
    DLLStop();
    EXPECT_EQ(names(events), (std::vector<std::string>{"-va9vedored", "-ContactScope"}));
}

TEST_F(ModuleEntryTest, StartAfterStopRegistersNewObjects) {
    hostHoldsReferences = true;
    DLLStart();
    IPanelCCallback* old = va9vedoredPanel;
    DLLStop();
    events.clear();
    DLLStart();
    ASSERT_EQ(names(events), (std::vector<std::string>{"+va9vedored", "+ContactScope"}));
    EXPECT_NE(va9vedoredPanel, old);  // the old one is still held by the host
    EXPECT_EQ(refCountOf(va9vedoredPanel), 2u);
}

}  // namespace
}  // namespace cs
