#include "simhost/SimHost.h"

#include <cmath>

namespace cs::sim {

namespace {

SimHost* activeHost = nullptr;

void HOST_STDCALL serviceRefreshVariable(HostVariableRecord* variable) {
    if (activeHost != nullptr) {
        activeHost->refreshVariable(variable);
    }
}

double HOST_STDCALL serviceReadUserVariable(int32_t variableId, int32_t unitId, int32_t index) {
    return activeHost != nullptr ? activeHost->readUserVariable(variableId, unitId, index) : 0.0;
}

int32_t HOST_STDCALL serviceRegisterPanelCallback(const char* name, IPanelCCallback* callback) {
    return activeHost != nullptr ? activeHost->registerPanelCallback(name, callback) : 0;
}

IPanelCCallback* HOST_STDCALL serviceFindPanelCallback(const char* name) {
    return activeHost != nullptr ? activeHost->findPanelCallback(name) : nullptr;
}

}  // namespace

SimHost::SimHost() : SimHost(SimHostOptions{}) {}

SimHost::SimHost(const SimHostOptions& options) : traffic_(scenario_, catalogue_, hostile_) {
    addRefOnRegister = options.addRefOnRegister;
    services_.refreshVariable = &serviceRefreshVariable;
    services_.readUserVariable = &serviceReadUserVariable;
    services_.registerPanelCallback = &serviceRegisterPanelCallback;
    services_.findPanelCallback = &serviceFindPanelCallback;
    previousActive_ = activeHost;
    activeHost = this;
    if (options.registerTraffic) {
        setTrafficRegistered(true);
    }
}

SimHost::~SimHost() {
    releaseHeldReferences();
    if (activeHost == this) {
        activeHost = previousActive_;
    }
}

void SimHost::activate() {
    activeHost = this;
}

SimHost* SimHost::active() {
    return activeHost;
}

void SimHost::installInto(ImportTableRecord* record) {
    if (record != nullptr) {
        record->panelServices.table = &services_;
    }
}

void SimHost::advance(double seconds, double ticks) {
    if (ticks < 0.0) {
        ticks = std::floor(seconds * 18.0 + 0.5);
    }
    scenario_.advance(seconds);
    time_ += seconds;
    ticks_ += ticks;
}

SimHost::Entry* SimHost::entry(const std::string& name) {
    for (Entry& e : registry_) {
        if (e.name == name) {
            return &e;
        }
    }
    return nullptr;
}

IPanelCCallback* SimHost::find(const std::string& name) const {
    for (const Entry& e : registry_) {
        if (e.name == name) {
            return e.callback;
        }
    }
    return nullptr;
}

void SimHost::registerDirect(const std::string& name, IPanelCCallback* callback) {
    Entry* e = entry(name);
    if (e != nullptr) {
        if (e->referenced && e->callback != nullptr) {
            e->callback->release();
        }
        if (callback == nullptr) {
            registry_.erase(registry_.begin() + (e - registry_.data()));
            return;
        }
        e->callback = callback;
        e->referenced = false;
        return;
    }
    if (callback != nullptr) {
        registry_.push_back(Entry{name, callback, false});
    }
}

void SimHost::setTrafficRegistered(bool registered) {
    registerDirect(kTrafficInfoName, registered ? traffic_.panelCallback() : nullptr);
}

void SimHost::releaseHeldReferences() {
    for (auto it = registry_.begin(); it != registry_.end();) {
        if (it->callback == traffic_.panelCallback()) {
            ++it;
            continue;
        }
        IPanelCCallback* callback = it->callback;
        const bool referenced = it->referenced;
        it = registry_.erase(it);
        if (referenced && callback != nullptr) {
            callback->release();
        }
    }
}

void SimHost::refreshVariable(HostVariableRecord* variable) {
    if (variable == nullptr) {
        return;
    }
    switch (variable->token) {
        case kTickCounterToken:
            ++counts_.refreshTick;
            variable->value = ticks_;
            break;
        case kElapsedTimeToken:
            ++counts_.refreshTime;
            variable->value = time_;
            break;
        default:
            ++counts_.refreshOther;
            variable->value = 0.0;
            break;
    }
}

double SimHost::readUserVariable(int32_t variableId, int32_t unitId, int32_t /*index*/) {
    ++counts_.readUserVariable;
    Var var;
    if (!catalogue_.varOfId(variableId, &var) || !catalogue_.unitMatches(var, unitId)) {
        return 0.0;
    }
    if (hostile_.dropReads) {
        return 0.0;
    }
    double v = aircraftValue(scenario_.own(), var);
    if (hostile_.forceNumbers && (hostile_.forcedMask >> static_cast<int>(var)) & 1u) {
        v = hostile_.forcedValue;
    }
    if (hostile_.numberHook) {
        hostile_.numberHook(scenario_.own().id, variableId, v);
    }
    return v;
}

int32_t SimHost::registerPanelCallback(const char* name, IPanelCCallback* callback) {
    ++counts_.registerPanelCallback;
    if (name == nullptr) {
        return 0;
    }
    log_.push_back(RegistrationEvent{name, callback});
    Entry* e = entry(name);
    IPanelCCallback* toRelease = nullptr;
    if (e != nullptr) {
        if (e->referenced) {
            toRelease = e->callback;
        }
        if (callback == nullptr) {
            registry_.erase(registry_.begin() + (e - registry_.data()));
        } else {
            e->callback = callback;
            e->referenced = false;
        }
    } else if (callback != nullptr) {
        registry_.push_back(Entry{name, callback, false});
        e = &registry_.back();
    }
    if (callback != nullptr && addRefOnRegister) {
        callback->addRef();
        entry(name)->referenced = true;
    }
    // Released last, so that re-registering the same object cannot destroy it.
    if (toRelease != nullptr) {
        toRelease->release();
    }
    return 1;
}

IPanelCCallback* SimHost::findPanelCallback(const char* name) {
    ++counts_.findPanelCallback;
    return name == nullptr ? nullptr : find(name);
}

}  // namespace cs::sim
