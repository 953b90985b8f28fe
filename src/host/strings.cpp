// Text across the host border: every host string the plug-in reads or builds
// carries UTF-8; picture bytes travel as strings without encoding.
#include "host/strings.h"

#include <cstring>

#include "host/bridge.h"

bool StringToUTF8(REALstring s, std::string& out) {
    if (!s) {
        out.clear();
        return true;
    }
    REALstringData data{};
    if (!REALGetStringData(s, kREALTextEncodingUTF8, &data)) return false;
    if (data.data)
        out.assign(static_cast<const char*>(data.data), data.length);
    else
        out.clear();
    REALDisposeStringData(&data);
    return true;
}

REALstring UTF8ToString(std::string_view utf8) {
    return REALBuildStringWithEncoding(utf8.data() ? utf8.data() : "", utf8.size(),
                                       kREALTextEncodingUTF8);
}

REALstring UTF8ToString(const char* utf8) {
    if (!utf8) utf8 = "";
    return REALBuildStringWithEncoding(utf8, std::strlen(utf8), kREALTextEncodingUTF8);
}

REALstring BytesToString(std::string_view bytes) {
    return REALBuildStringWithEncoding(bytes.data() ? bytes.data() : "", bytes.size(),
                                       kREALTextEncodingNone);
}
