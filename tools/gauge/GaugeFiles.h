// The files of one gauge folder - its XML gauges and their bitmaps - as the
// simulator finds them for `gaugeNN=Folder!Name`: a folder on disk, or a
// cabinet Folder.cab read into memory.
//
// Names are matched as on Windows, where the simulator runs: without regard
// to case (ASCII letters), '\' and '/' both separating folders, so
// Name="alabeoiconmaster.bmp" finds ALABEOIconMaster.bmp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace cs::gauge {

constexpr uint64_t kMaxGaugeFolderFileBytes = uint64_t{64} << 20;

class GaugeFiles {
  public:
    virtual ~GaugeFiles() = default;
    // The folder or cabinet, as messages name it.
    virtual const std::string& where() const = 0;
    // The file's name as stored (folders separated by '/'), empty when the
    // folder has no such file.
    virtual std::string find(const std::string& name) const = 0;
    // The bytes of a file find() named; false with `why` when it cannot be
    // read or is larger than kMaxGaugeFolderFileBytes.
    virtual bool read(const std::string& stored, std::string* bytes, std::string* why) const = 0;
    // A stored file as messages name it: "where/stored".
    std::string pathOf(const std::string& stored) const;
};

// The files of a folder on disk (which need not exist: then it has none).
std::unique_ptr<GaugeFiles> folderFiles(const std::string& folder);

// The files of a cabinet, read and unpacked now; null with `why` when it is
// damaged, hostile or cannot be read.
std::unique_ptr<GaugeFiles> cabinetFiles(const std::string& path, std::string* why);

// Reads a whole file of at most `limit` bytes; false with `why`.
bool readWholeFile(const std::string& path, uint64_t limit, std::string* bytes, std::string* why);

}  // namespace cs::gauge
