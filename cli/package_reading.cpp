#include "package_reading.h"

#include <cstring>

#include <zip.h>
#include <zlib.h>

#include "package/package_paths.h"

namespace cli {

namespace {

// Parts are read whole: a larger one (a hostile package's, most likely) is
// left unread rather than taking that much memory.
const zip_uint64_t kMaxPartSize = 256u << 20;

// A deflated entry's stored bytes inflated in one go, without the pass
// over them that checks their checksum; false when the stream is damaged or
// does not hold the entry's size.
bool InflateStored(zip_t* zip, zip_uint64_t index, const zip_stat_t& stat, std::string& bytes) {
    zip_file_t* file = zip_fopen_index(zip, index, ZIP_FL_COMPRESSED);
    if (!file) return false;
    std::string stored(static_cast<size_t>(stat.comp_size), '\0');
    const zip_int64_t read = stored.empty() ? 0 : zip_fread(file, &stored[0], stat.comp_size);
    zip_fclose(file);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.comp_size) return false;
    bytes.assign(static_cast<size_t>(stat.size), '\0');
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(&stored[0]);
    z.avail_in = static_cast<uInt>(stored.size());
    // One byte more than the entry holds: a stream that goes on is damaged.
    char extra;
    z.next_out = bytes.empty() ? reinterpret_cast<Bytef*>(&extra) : reinterpret_cast<Bytef*>(&bytes[0]);
    z.avail_out = static_cast<uInt>(bytes.size());
    int result = inflate(&z, Z_FINISH);
    if (result == Z_BUF_ERROR && z.avail_out == 0 && z.total_out == bytes.size()) {
        z.next_out = reinterpret_cast<Bytef*>(&extra);
        z.avail_out = 1;
        result = inflate(&z, Z_FINISH);
    }
    const bool whole = result == Z_STREAM_END && z.total_out == bytes.size();
    inflateEnd(&z);
    return whole;
}

const char* LastSegment(const char* type) {
    const char* last = std::strrchr(type, '/');
    return last ? last + 1 : type;
}

}  // namespace

struct PackageArchive {
    zip_t* zip = nullptr;
    ~PackageArchive() {
        if (zip) zip_discard(zip);
    }
};

bool PackageReader_Open(PackageReader& reader, const std::string& path) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!zip) return false;
    reader.archive = std::make_shared<PackageArchive>();
    reader.archive->zip = zip;
    reader.mainPart = "word/document.xml";
    for (const auto& rel : PackageReader_Relationships(reader, ""))
        if (rel.second.type == "officeDocument" && !rel.second.external && !rel.second.target.empty()) {
            reader.mainPart = rel.second.target;
            break;
        }
    return true;
}

bool PackageReader_Bytes(const PackageReader& reader, const std::string& name, std::string& bytes) {
    if (!reader.archive || name.empty()) return false;
    zip_t* zip = reader.archive->zip;
    const zip_int64_t index = zip_name_locate(zip, name.c_str(), ZIP_FL_NOCASE);
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(zip, static_cast<zip_uint64_t>(index), 0, &stat) != 0) return false;
    if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > kMaxPartSize) return false;
    if (!reader.checksums && (stat.valid & ZIP_STAT_COMP_METHOD) && stat.comp_method == ZIP_CM_DEFLATE &&
        (stat.valid & ZIP_STAT_COMP_SIZE) && stat.comp_size <= kMaxPartSize)
        return InflateStored(zip, static_cast<zip_uint64_t>(index), stat, bytes);
    zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(index), 0);
    if (!file) return false;
    bytes.assign(static_cast<size_t>(stat.size), '\0');
    const zip_int64_t read = bytes.empty() ? 0 : zip_fread(file, &bytes[0], stat.size);
    zip_fclose(file);
    return read >= 0 && static_cast<zip_uint64_t>(read) == stat.size;
}

std::string PackageReader_StoredName(const PackageReader& reader, const std::string& name) {
    if (!reader.archive || name.empty()) return std::string();
    const zip_int64_t index = zip_name_locate(reader.archive->zip, name.c_str(), ZIP_FL_NOCASE);
    const char* stored = index < 0 ? nullptr : zip_get_name(reader.archive->zip, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_RAW);
    return stored ? stored : std::string();
}

bool PackageReader_Xml(const PackageReader& reader, const std::string& name, pugi::xml_document& xml) {
    std::string bytes;
    if (!PackageReader_Bytes(reader, name, bytes)) return false;
    // Text of spaces only is text: "<w:t> </w:t>" between two words.
    return static_cast<bool>(xml.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata));
}

PackageRelationships PackageReader_Relationships(const PackageReader& reader, const std::string& part) {
    PackageRelationships rels;
    pugi::xml_document xml;
    const std::string name = part.empty() ? "_rels/.rels" : PackagePath_RelationshipsOf(part);
    if (!PackageReader_Xml(reader, name, xml)) return rels;
    for (pugi::xml_node rel : xml.document_element().children("Relationship")) {
        PackageRelationship r;
        r.type = LastSegment(rel.attribute("Type").value());
        r.external = std::strcmp(rel.attribute("TargetMode").value(), "External") == 0;
        r.target = r.external ? rel.attribute("Target").value()
                              : PackagePath_Resolve(part, rel.attribute("Target").value());
        rels.emplace(rel.attribute("Id").value(), std::move(r));
    }
    return rels;
}

std::string PackageRelationships_FirstOfType(const PackageRelationships& rels, const char* type) {
    for (const auto& rel : rels)
        if (!rel.second.external && rel.second.type == type) return rel.second.target;
    return std::string();
}

}  // namespace cli
