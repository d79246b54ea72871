#pragma once
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ide::files {

/// The ANSI code pages VB6 files come in. Auto only asks for a guess; it is never the answer.
enum class CodePage { Auto, Cp932, Cp1252, Cp1251, Utf8 };

/// Accepts the usual labels case-insensitively ("cp932", "Shift_JIS", "windows-1252", "latin1",
/// "1251", "utf8", "auto", ...); nullopt for anything else.
std::optional<CodePage> codePageFromName(const QString &name);
/// "auto", "cp932", "cp1252", "cp1251", "utf-8".
QString codePageName(CodePage cp);

/// Decodes as Windows does. Invalid sequences become U+FFFD and are counted; cp1252 and
/// cp1251 have none (their unassigned bytes map to U+0081 and friends). Auto guesses from
/// `bytes` alone; Utf8 drops a leading BOM.
QString decode(QByteArrayView bytes, CodePage cp, int *invalidSequences = nullptr);
/// Characters the code page cannot hold become '?', as WideCharToMultiByte does.
/// Auto encodes as cp1252.
QByteArray encode(const QString &text, CodePage cp);

/// Evidence per candidate code page, summed over files; higher is more plausible. The invalid
/// counts are the byte sequences a code page cannot decode (cp1252 and cp1251 have none).
struct CodePageScores {
    long long cp932 = 0, cp1252 = 0, cp1251 = 0, utf8 = 0;
    long long cp932Invalid = 0, utf8Invalid = 0;
    bool nonAscii = false;
    long long score(CodePage cp) const;
    long long invalid(CodePage cp) const;
    CodePageScores &operator+=(const CodePageScores &other);
};
CodePageScores codePageScores(QByteArrayView file);
CodePageScores codePageScores(const std::vector<QByteArrayView> &files);
/// One code page for a whole project from the evidence of all its files: the best candidate
/// wins only with a clear margin over the runner-up, otherwise (and for pure ASCII) Cp1252,
/// which never fails to decode.
CodePage guessCodePage(const CodePageScores &scores);
CodePage guessCodePage(const std::vector<QByteArrayView> &files);

/// Length of the first `maxLines` lines of `bytes` with their terminators (CR LF, LF or a lone
/// CR); bytes.size() when the text has no more lines than that.
qsizetype lengthOfLines(QByteArrayView bytes, qsizetype maxLines);
/// The 1-based line that the byte at `offset` stands on.
int lineAt(QByteArrayView bytes, qsizetype offset);

/// Splits at CR LF, LF or a lone CR, mixed freely; a final terminator adds no empty line.
/// NUL and other control characters stay in the text.
QStringList splitLines(const QString &text);
/// splitLines(decode(bytes, cp, invalidSequences)) without the whole-text copy.
QStringList decodeSplit(QByteArrayView bytes, CodePage cp, int *invalidSequences = nullptr);

/// Decoded lines in one buffer: the text of every line back to back, without terminators, and
/// where each begins. One allocation for a file instead of one per line.
struct TextLines {
    QString text;
    std::vector<std::uint32_t> starts; // of each line, then text.size()

    qsizetype size() const { return qsizetype(starts.size()) - 1; }
    QStringView operator[](qsizetype i) const
    {
        return QStringView(text).sliced(starts[size_t(i)], starts[size_t(i) + 1] - starts[size_t(i)]);
    }
    QStringList toStringList() const;
};
/// decodeSplit() into one buffer. Files are far below the offsets' 4 G units.
TextLines decodeText(QByteArrayView bytes, CodePage cp, int *invalidSequences = nullptr);
/// splitLines() into one buffer.
TextLines splitText(QStringView text);

/// Copies `n` ASCII bytes into UTF-16 units.
inline void widenAscii(const char *in, char16_t *out, qsizetype n)
{
    qsizetype k = 0;
#if defined(__SSE2__)
    for (; k + 16 <= n; k += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + k));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + k), _mm_unpacklo_epi8(v, _mm_setzero_si128()));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + k + 8), _mm_unpackhi_epi8(v, _mm_setzero_si128()));
    }
#endif
    for (; k < n; ++k)
        out[k] = char16_t(static_cast<unsigned char>(in[k]));
}

/// A file's lines as the loader reads them: pure ASCII lines as their bytes, never widened, the
/// others decoded into one UTF-16 buffer. `bytes` shares the caller's data.
struct MixedLines {
    struct Line {
        std::uint32_t start; // in `bytes` for an ASCII line, else in `wide`
        std::uint32_t size;  // in units, which for an ASCII line are its bytes
        bool ascii;
    };
    QByteArrayView bytes;
    QString wide;
    std::vector<Line> lines;

    qsizetype size() const { return qsizetype(lines.size()); }
    QLatin1StringView narrow(qsizetype i) const
    {
        return {bytes.data() + lines[size_t(i)].start, qsizetype(lines[size_t(i)].size)};
    }
    /// A line that is not ASCII.
    QStringView utf16(qsizetype i) const
    {
        return QStringView(wide).sliced(lines[size_t(i)].start, lines[size_t(i)].size);
    }
    /// Any line in UTF-16. An ASCII line is widened into a buffer that the next call reuses:
    /// read one line at a time.
    QStringView operator[](qsizetype i) const;

private:
    mutable std::vector<char16_t> m_scratch;
};
/// decodeText() leaving ASCII lines as bytes. UTF-8 text is decoded whole (an invalid sequence
/// before a line break decodes differently alone), every line of it in `wide`.
MixedLines decodeMixed(QByteArrayView bytes, CodePage cp, int *invalidSequences = nullptr);

} // namespace ide::files
