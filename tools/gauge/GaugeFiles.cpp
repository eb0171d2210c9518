#include "tools/gauge/GaugeFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tools/gauge/Cabinet.h"
#include "tools/gauge/Diagnostics.h"

namespace cs::gauge {

namespace fs = std::filesystem;

namespace {

// "Sub\Art.bmp" -> {"Sub", "Art.bmp"}; empty parts left out.
std::vector<std::string> parts(const std::string& name) {
    std::vector<std::string> out(1);
    for (char c : name) {
        if (c == '/' || c == '\\') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    std::erase_if(out, [](const std::string& p) { return p.empty(); });
    return out;
}

std::string joined(const std::vector<std::string>& p) {
    std::string out;
    for (const std::string& s : p) {
        out += (out.empty() ? "" : "/") + s;
    }
    return out;
}

// The entry of `dir` named `part` in any case, as the folder spells it: the
// exact name when there is one, else the first in name order that matches
// (ASCII letters ignoring case), else what the platform itself finds (Windows
// ignores the case of other letters too).
std::string entryIgnoringCase(const fs::path& dir, const std::string& part) {
    std::error_code ec;
    if (part == "." || part == "..") {
        return part;
    }
    std::string best;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string n = it->path().filename().string();
        if (n == part) {
            return n;
        }
        if (equalIgnoringCase(n, part) && (best.empty() || n < best)) {
            best = n;
        }
    }
    return best.empty() && fs::exists(dir / part, ec) ? part : best;
}

class FolderFiles final : public GaugeFiles {
  public:
    explicit FolderFiles(std::string folder) : folder_(std::move(folder)) {}
    const std::string& where() const override { return folder_; }

    std::string find(const std::string& name) const override {
        std::vector<std::string> found;
        fs::path at(folder_);
        for (const std::string& p : parts(name)) {
            const std::string entry = entryIgnoringCase(at, p);
            if (entry.empty()) {
                return std::string();
            }
            found.push_back(entry);
            at /= entry;
        }
        std::error_code ec;
        return !found.empty() && fs::is_regular_file(at, ec) ? joined(found) : std::string();
    }

    bool read(const std::string& stored, std::string* bytes, std::string* why) const override {
        return readWholeFile(pathOf(stored), kMaxGaugeFolderFileBytes, bytes, why);
    }

  private:
    std::string folder_;
};

class CabinetFiles final : public GaugeFiles {
  public:
    CabinetFiles(std::string path, std::vector<CabinetFile> files)
        : path_(std::move(path)), files_(std::move(files)) {
        for (CabinetFile& f : files_) {
            f.name = joined(parts(f.name));
        }
    }
    const std::string& where() const override { return path_; }

    std::string find(const std::string& name) const override {
        const std::string wanted = joined(parts(name));
        for (const CabinetFile& f : files_) {
            if (f.name == wanted) {
                return f.name;
            }
        }
        for (const CabinetFile& f : files_) {
            if (equalIgnoringCase(f.name, wanted)) {
                return f.name;
            }
        }
        return std::string();
    }

    bool read(const std::string& stored, std::string* bytes, std::string* why) const override {
        for (const CabinetFile& f : files_) {
            if (f.name == stored) {
                *bytes = f.bytes;
                return true;
            }
        }
        *why = "no such file in the cabinet";
        return false;
    }

  private:
    std::string path_;
    std::vector<CabinetFile> files_;
};

}  // namespace

std::string GaugeFiles::pathOf(const std::string& stored) const {
    return (fs::path(where()) / fs::path(stored)).make_preferred().string();
}

std::unique_ptr<GaugeFiles> folderFiles(const std::string& folder) {
    return std::make_unique<FolderFiles>(folder);
}

std::unique_ptr<GaugeFiles> cabinetFiles(const std::string& path, std::string* why) {
    std::string bytes;
    std::vector<CabinetEntry> directory;
    std::vector<CabinetFile> files;
    if (!readWholeFile(path, kMaxCabinetBytes, &bytes, why) ||
        !readCabinetDirectory(bytes, directory, why) || !unpackCabinet(bytes, files, why)) {
        return nullptr;
    }
    return std::make_unique<CabinetFiles>(path, std::move(files));
}

bool readWholeFile(const std::string& path, uint64_t limit, std::string* bytes, std::string* why) {
    std::error_code ec;
    const uint64_t size = fs::file_size(path, ec);
    if (ec) {
        *why = "cannot read the file: " + ec.message();
        return false;
    }
    if (size > limit) {
        *why = "larger than " + std::to_string(limit) + " bytes";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        *why = "cannot read the file";
        return false;
    }
    return true;
}

}  // namespace cs::gauge
