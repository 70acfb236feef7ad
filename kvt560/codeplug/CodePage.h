#pragma once
// Conversion between QString and the 8-bit code pages of Chinese Windows systems (GBK for
// Simplified, Big5 for Traditional Chinese) through glibc iconv, which Qt 6 no longer
// carries. A conversion either succeeds completely or gives nothing: a character the code
// page cannot hold, or bytes that are not valid in it, are never replaced silently.
#include <QByteArray>
#include <QString>
#include <optional>

class CodePage
{
public:
    // An iconv character set name such as "GBK" or "BIG5".
    explicit CodePage(const char *name);
    ~CodePage();
    CodePage(const CodePage &) = delete;
    CodePage &operator=(const CodePage &) = delete;

    // False when iconv does not know the character set.
    bool isValid() const;

    std::optional<QByteArray> encode(const QString &text) const;
    std::optional<QString> decode(const QByteArray &bytes) const;

    static const char *const Gbk;
    static const char *const Big5;

private:
    void *m_toBytes = nullptr;    // iconv_t: UTF-8 -> code page
    void *m_toUnicode = nullptr;  // iconv_t: code page -> UTF-8
};
