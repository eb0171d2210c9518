#include "tools/session/ModuleSession.h"

#include <filesystem>

#include "simhost/FilePath.h"
#include "simhost/GaugeHost.h"
#include "simhost/SimHost.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace cs::preview {

namespace {

// The registration the sessions ask for their scratch gauge.
constexpr const char* kPanelName = "va9vedored";

}  // namespace

std::string defaultModulePath() {
#if defined(_WIN32)
    const char* file = "ContactScope.dll";
    // The program's own path, however long: the buffer grows until it fits.
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD n = 0;
    while ((n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) ==
               buffer.size() &&
           buffer.size() < 32768) {
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(n < buffer.size() ? n : 0);
    std::filesystem::path self = sim::fsPath(sim::utf8Text(buffer));
#else
    const char* file = "ContactScope.so";
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
    const std::filesystem::path beside =
        self.empty() ? std::filesystem::path(file) : self.parent_path() / file;
#if defined(CS_PREVIEW_MODULE_PATH)
    if (sim::fileKind(sim::utf8Path(beside)) == sim::FileKind::Missing) {
        return CS_PREVIEW_MODULE_PATH;
    }
#endif
    return sim::utf8Path(beside);
}

struct ModuleSession::State {
    sim::SimHost host;
    sim::ModuleLoader loader;
    IPanelCCallback* panel = nullptr;
};

ModuleSession::ModuleSession() = default;

ModuleSession::~ModuleSession() {
    if (state_) {
        state_->loader.unload();  // stops the module first
    }
}

bool ModuleSession::open(const std::string& path, sim::HandOverRoute route) {
    state_ = std::make_unique<State>();
    State& s = *state_;
    if (!s.loader.load(path)) {
        error_ = "cannot load the module " + path + ": " + s.loader.error();
        return false;
    }
#if !defined(_WIN32)
    // Keep the module and the drawing libraries it brought in mapped after
    // the loader unloads it, so their one-time caches stay reachable rather
    // than turning into leaks at exit.
    dlopen(path.c_str(), RTLD_NOW | RTLD_NODELETE);
#endif
    if (!s.loader.handOver(s.host.services(), route) || !s.loader.start()) {
        error_ = "cannot load the module " + path + ": it exports no " +
                 (route == sim::HandOverRoute::Panels ? "Panels pointer" : "ImportTable record");
        return false;
    }
    for (const sim::RegistrationEvent& e : s.host.registrationLog()) {
        if (e.callback != nullptr) {
            registeredAtStart_.push_back(e.name);
        }
    }
    s.panel = s.host.services()->findPanelCallback(kPanelName);
    if (s.panel == nullptr) {
        error_ = std::string("the module registered no panel callback \"") + kPanelName + "\"";
        return false;
    }
    // The vocabulary, from a scratch gauge: declarations of a TCAS drawable,
    // the property catalogue and the values of a fresh gauge.
    sim::GaugeHost scratch(s.host);
    if (!scratch.create(kPanelName, "tcas")) {
        error_ = "the module would not create a TCAS display";
        return false;
    }
    catalogue_.learn(s.host, scratch);
    return true;
}

ModuleSession::StopRecord ModuleSession::close() {
    StopRecord record;
    if (!state_) {
        return record;
    }
    sim::SimHost& host = state_->host;
    const size_t before = host.registrationLog().size();
    state_->loader.stop();
    for (size_t i = before; i < host.registrationLog().size(); ++i) {
        const sim::RegistrationEvent& e = host.registrationLog()[i];
        (e.callback == nullptr ? record.unregistered : record.registered).push_back(e.name);
    }
    for (const std::string& name : registeredAtStart_) {
        if (host.find(name) != nullptr) {
            record.stillRegistered.push_back(name);
        }
    }
    state_->loader.unload();
    state_.reset();
    return record;
}

const ModuleVocabulary& ModuleSession::vocabulary() const {
    return catalogue_.vocabulary();
}

const std::vector<PropertyInfo>& ModuleSession::properties() const {
    return catalogue_.properties();
}

sim::SimHost& ModuleSession::host() {
    return state_->host;
}

}  // namespace cs::preview
