// Loads the module as a shared library the way the simulator does, by path
// (dlopen on Linux, LoadLibraryW on Windows; the path is UTF-8), finds its five exports by name,
// hands a services table over to it and starts and stops it.
//
//   cs::sim::ModuleLoader module;
//   if (module.load(CS_MODULE_PATH)) {
//       module.handOver(host.services());       // into ImportTable
//       module.start();                         // DLLStart
//       ... GaugeHost ...
//       module.stop();                          // DLLStop
//   }                                           // unloaded when destroyed
#pragma once

#include <string>

#include "host/HostServices.h"
#include "host/ImportTable.h"

namespace cs::sim {

// The two ways a host can give the module its services table.
enum class HandOverRoute {
    ImportTable,  // the service-table slot of the exported import record
    Panels,       // the exported Panels pointer, which DLLStart copies over
};

class ModuleLoader {
  public:
    ModuleLoader() = default;
    ~ModuleLoader();
    ModuleLoader(const ModuleLoader&) = delete;
    ModuleLoader& operator=(const ModuleLoader&) = delete;

    // Loads the library and resolves its exports. False when the file is
    // missing or not a library for this process (see ModuleFile.h), the
    // system will not load it, or it lacks DLLStart or DLLStop; error() then
    // says why, worded to follow "cannot load <path>: ".
    // Loading again first unloads what was loaded.
    bool load(const std::string& path);
    // Stops the module if this loader started it, then unloads it.
    void unload();
    bool loaded() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }

    // The resolved exports; null when absent.
    ModuleRoutine dllStart() const { return start_; }
    ModuleRoutine dllStop() const { return stop_; }
    ImportTableRecord* importTable() const { return importTable_; }
    LinkageRecord* linkage() const { return linkage_; }
    HostServices** panels() const { return panels_; }
    // Any other exported symbol, or null.
    void* symbol(const char* name) const;

    // Stores the table where the route says; false when that export is missing.
    bool handOver(HostServices* services, HandOverRoute route = HandOverRoute::ImportTable);
    // Calls DLLStart / DLLStop; false when not loaded.
    bool start();
    bool stop();
    bool started() const { return started_; }

    // Leaves the library mapped when it is unloaded (Linux: RTLD_NODELETE;
    // no effect on Windows), so that leak checkers running at exit can still
    // name the frames of its allocations. Set before load().
    bool keepMapped = false;

  private:
    void* handle_ = nullptr;
    std::string error_;
    ModuleRoutine start_ = nullptr;
    ModuleRoutine stop_ = nullptr;
    ImportTableRecord* importTable_ = nullptr;
    LinkageRecord* linkage_ = nullptr;
    HostServices** panels_ = nullptr;
    bool started_ = false;
};

}  // namespace cs::sim
