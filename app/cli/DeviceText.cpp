#include "DeviceText.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>

namespace vantrel::cli {

namespace {

constexpr const char* kDeviceCharset = "ISO-8859-1";
constexpr char kUnshown = '?';

// One conversion between two character sets, closed when it goes.
class Conversion {
public:
    Conversion(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Conversion() {
        if (ok()) ::iconv_close(cd_);
    }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole text; with a replacement, a character the target set lacks
    // (or a byte that is no text) becomes it, else the conversion fails.
    std::optional<std::string> run(const std::string& text, std::optional<char> replacement) {
        std::string out;
        char* in = const_cast<char*>(text.data());
        size_t inLeft = text.size();
        char buffer[256];
        while (inLeft > 0) {
            char* at = buffer;
            size_t outLeft = sizeof buffer;
            const size_t done = ::iconv(cd_, &in, &inLeft, &at, &outLeft);
            out.append(buffer, at);
            if (done != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            if (!replacement) return std::nullopt;
            // EILSEQ or EINVAL: skip one byte of the input and show the replacement.
            out += *replacement;
            ++in;
            --inLeft;
        }
        return out;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::optional<std::string> toDeviceText(const std::string& typed) {
    Conversion conversion(kDeviceCharset, ::nl_langinfo(CODESET));
    if (!conversion.ok()) return std::nullopt;
    return conversion.run(typed, std::nullopt);
}

std::string fromDeviceText(const std::string& text) {
    Conversion conversion(::nl_langinfo(CODESET), kDeviceCharset);
    if (!conversion.ok()) return text;
    return conversion.run(text, kUnshown).value_or(text);
}

}  // namespace vantrel::cli
