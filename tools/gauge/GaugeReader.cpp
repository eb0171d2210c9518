#include "tools/gauge/GaugeReader.h"

#include <filesystem>
#include <fstream>

#include <pugixml.hpp>

#include "tools/gauge/FsxElements.h"
#include "tools/gauge/GaugeElements.h"
#include "tools/gauge/TextEncoding.h"

namespace cs::gauge {

namespace {

// Loads the document and reads it with the reader of its schema: FS9
// (<Gauge>) or FSX (<SimBase.Document>).
bool readDocument(std::string_view bytes, GaugeFile& gauge, Diagnostics& d) {
    const DecodedText decoded = decodeGaugeText(bytes);
    if (!decoded.ok) {
        const GaugeVocabulary bytesLines(bytes, gauge.file, d);
        d.error(
            Origin{gauge.file, bytesLines.lineAt(static_cast<ptrdiff_t>(decoded.offset)), "XML"},
            decoded.problem);
        return false;
    }
    const std::string_view xml = decoded.text;
    const GaugeVocabulary lines(xml, gauge.file, d);
    pugi::xml_document doc;
    const pugi::xml_parse_result result =
        doc.load_buffer(xml.data(), xml.size(), pugi::parse_default,
                        decoded.wide ? pugi::encoding_auto : pugi::encoding_utf8);
    if (!result) {
        d.error(Origin{gauge.file, lines.lineAt(result.offset), "XML"},
                std::string(result.description()) + "; the file is not well-formed XML");
        return false;
    }
    pugi::xml_node root = doc.document_element();
    const std::string rootName = root.name();
    if (rootName == "SimBase.Document") {
        FsxElements(xml, gauge, d).readDocument(root);
        return true;
    }
    if (rootName != "Gauge") {
        d.error(lines.at(root, rootName),
                "expected a <Gauge> (FS9-format gauge) or a <SimBase.Document> (FSX-format "
                "gauge) element at the top");
        return false;
    }
    GaugeElements(xml, gauge, d).readGauge(root);
    return true;
}

std::string tooLarge() {
    std::string text = "larger than ";
    text += std::to_string(kMaxGaugeFileBytes >> 20);
    text += " MB; not a gauge file";
    return text;
}

}  // namespace

bool readGaugeText(std::string_view xml, const std::string& file, const std::string& folder,
                   GaugeFile& gauge, Diagnostics& diagnostics) {
    gauge = GaugeFile{};
    gauge.file = file;
    gauge.folder = folder;
    gauge.name = std::filesystem::path(file).stem().string();
    const size_t errors = diagnostics.errorCount();
    if (xml.size() > kMaxGaugeFileBytes) {
        diagnostics.error(Origin{file, 1, ""}, tooLarge());
        return false;
    }
    return readDocument(xml, gauge, diagnostics) && diagnostics.errorCount() == errors;
}

bool readGaugeFile(const std::string& path, GaugeFile& gauge, Diagnostics& diagnostics) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        diagnostics.error(Origin{path, 0, ""}, "cannot read the file: " + ec.message());
        return false;
    }
    if (size > kMaxGaugeFileBytes) {
        diagnostics.error(Origin{path, 1, ""}, tooLarge());
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        diagnostics.error(Origin{path, 0, ""}, "cannot read the file");
        return false;
    }
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return readGaugeText(text, path, folder.empty() ? "." : folder, gauge, diagnostics);
}

}  // namespace cs::gauge
