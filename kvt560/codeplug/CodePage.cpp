#include "codeplug/CodePage.h"

#include <cerrno>
#include <iconv.h>

namespace {

const iconv_t Invalid = reinterpret_cast<iconv_t>(-1);

iconv_t openConverter(const char *to, const char *from)
{
    return iconv_open(to, from);
}

// Runs the whole input through cd; nothing when iconv meets a sequence it cannot convert.
std::optional<QByteArray> run(void *handle, const QByteArray &input)
{
    const auto cd = static_cast<iconv_t>(handle);
    if (cd == Invalid)
        return std::nullopt;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);   // back to the initial shift state

    QByteArray out;
    out.resize(input.size() * 2 + 16);
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = size_t(input.size());
    size_t done = 0;
    bool flushed = false;   // the last call (no input) writes any closing shift sequence
    while (!flushed) {
        const bool flushing = inLeft == 0;
        char *dst = out.data() + done;
        size_t outLeft = size_t(out.size()) - done;
        const size_t r = iconv(cd, flushing ? nullptr : &in, &inLeft, &dst, &outLeft);
        done = size_t(out.size()) - outLeft;
        if (r == size_t(-1)) {
            if (errno != E2BIG)
                return std::nullopt;   // EILSEQ or EINVAL: not representable or cut short
            out.resize(out.size() * 2);
            continue;
        }
        flushed = flushing;
    }
    out.truncate(qsizetype(done));
    return out;
}

} // namespace

const char *const CodePage::Gbk = "GBK";
const char *const CodePage::Big5 = "BIG5";

CodePage::CodePage(const char *name)
    : m_toBytes(openConverter(name, "UTF-8"))
    , m_toUnicode(openConverter("UTF-8", name))
{
}

CodePage::~CodePage()
{
    for (void *h : {m_toBytes, m_toUnicode})
        if (static_cast<iconv_t>(h) != Invalid)
            iconv_close(static_cast<iconv_t>(h));
}

bool CodePage::isValid() const
{
    return static_cast<iconv_t>(m_toBytes) != Invalid && static_cast<iconv_t>(m_toUnicode) != Invalid;
}

std::optional<QByteArray> CodePage::encode(const QString &text) const
{
    return run(m_toBytes, text.toUtf8());
}

std::optional<QString> CodePage::decode(const QByteArray &bytes) const
{
    const auto utf8 = run(m_toUnicode, bytes);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}
