#include "dock/property_list_limits.h"

#include <QByteArrayView>
#include <algorithm>
#include <optional>
#include <vector>

namespace PropertyList {

namespace {

// Counts the open <array> and <dict> elements, skipping what XML does not read as elements:
// comments, CDATA sections, processing instructions, declarations and quoted attribute values.
// Openings are counted in any letter case; only exact closing tags count, so a text libplist
// reads differently can only make the count too high, never too low.
bool xmlWithinLimits(QByteArrayView text)
{
    const auto skipPast = [&](qsizetype from, QByteArrayView end) {
        const qsizetype at = text.indexOf(end, from);
        return at < 0 ? text.size() : at + end.size();
    };
    const auto isNameEnd = [](char c) {
        return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
    };
    const auto nameAt = [&](qsizetype at, QByteArrayView name, bool anyCase) {
        if (at + name.size() > text.size())
            return false;
        const QByteArrayView found = text.sliced(at, name.size());
        const bool same = anyCase ? found.compare(name, Qt::CaseInsensitive) == 0 : found == name;
        return same && (at + name.size() == text.size() || isNameEnd(text[at + name.size()]));
    };
    // The position after the '>' that ends a tag, quoted values skipped; sets whether it was "/>".
    const auto tagEnd = [&](qsizetype at, bool* selfClosing) {
        char quote = 0;
        for (; at < text.size(); ++at) {
            const char c = text[at];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                *selfClosing = text[at - 1] == '/';
                return at + 1;
            }
        }
        *selfClosing = false;
        return text.size();
    };

    int depth = 0;
    qsizetype at = 0;
    while ((at = text.indexOf('<', at)) >= 0) {
        const QByteArrayView rest = text.sliced(at);
        if (rest.startsWith("<!--")) {
            at = skipPast(at + 4, "-->");
        } else if (rest.startsWith("<![CDATA[")) {
            at = skipPast(at + 9, "]]>");
        } else if (rest.startsWith("<?")) {
            at = skipPast(at + 2, "?>");
        } else if (rest.startsWith("<!")) {
            // A declaration; its internal subset in brackets may hold '>'.
            int brackets = 0;
            for (++at; at < text.size(); ++at) {
                if (text[at] == '[')
                    ++brackets;
                else if (text[at] == ']')
                    --brackets;
                else if (text[at] == '>' && brackets <= 0)
                    break;
            }
            ++at;
        } else if (rest.startsWith("</")) {
            if ((nameAt(at + 2, "array", false) || nameAt(at + 2, "dict", false)) && depth > 0)
                --depth;
            bool selfClosing = false;
            at = tagEnd(at + 2, &selfClosing);
        } else {
            qsizetype name = at + 1;
            while (name < text.size() && (text[name] == ' ' || text[name] == '\t' ||
                                          text[name] == '\r' || text[name] == '\n'))
                ++name;
            const bool container = nameAt(name, "array", true) || nameAt(name, "dict", true);
            bool selfClosing = false;
            at = tagEnd(name, &selfClosing);
            if (container && !selfClosing && ++depth > maxNesting)
                return false;
        }
    }
    return true;
}

// The binary form: a table of objects, each container listing its members by object number.
class BinaryList {
public:
    explicit BinaryList(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }

    bool withinLimits()
    {
        if (!readTrailer())
            return false;
        m_state.assign(m_objectCount, State::Unseen);
        m_values.assign(m_objectCount, 0);
        m_height.assign(m_objectCount, 0);

        struct Frame {
            quint64 object;
            Members members;
            quint64 next = 0;
        };
        std::vector<Frame> path;
        const auto enter = [&](quint64 object) {
            if (m_state[object] == State::Open)
                return false; // a cycle: libplist would follow it for ever
            if (m_state[object] == State::Done)
                return true;
            if (path.size() >= std::size_t(maxNesting))
                return false;
            const std::optional<Members> members = membersOf(object);
            if (!members)
                return false;
            m_state[object] = State::Open;
            path.push_back({object, *members});
            return true;
        };
        if (!enter(m_root))
            return false;
        while (!path.empty()) {
            Frame& frame = path.back();
            if (frame.next < frame.members.count) {
                const std::optional<quint64> member = memberAt(frame.members, frame.next++);
                if (!member || !enter(*member))
                    return false;
                continue;
            }
            quint64 values = 1;
            int height = 1;
            for (quint64 i = 0; i < frame.members.count; ++i) {
                const quint64 member = *memberAt(frame.members, i);
                values = std::min(values + m_values[member], maxValues + 1);
                height = std::max(height, m_height[member] + 1);
            }
            if (values > maxValues || height > maxNesting)
                return false;
            m_values[frame.object] = values;
            m_height[frame.object] = height;
            m_state[frame.object] = State::Done;
            path.pop_back();
        }
        return true;
    }

private:
    enum class State : unsigned char { Unseen, Open, Done };
    struct Members {
        qsizetype at = 0; // where the member numbers start
        quint64 count = 0;
    };

    std::optional<quint64> number(qsizetype at, int size) const
    {
        if (size < 1 || size > 8 || at < 0 || at + size > m_bytes.size())
            return std::nullopt;
        quint64 value = 0;
        for (int i = 0; i < size; ++i)
            value = (value << 8) | quint8(m_bytes[at + i]);
        return value;
    }

    bool readTrailer()
    {
        constexpr qsizetype trailerSize = 32;
        if (m_bytes.size() < 8 + trailerSize)
            return false;
        const qsizetype trailer = m_bytes.size() - trailerSize;
        m_offsetSize = quint8(m_bytes[trailer + 6]);
        m_referenceSize = quint8(m_bytes[trailer + 7]);
        const quint64 count = *number(trailer + 8, 8);
        const quint64 root = *number(trailer + 16, 8);
        const quint64 table = *number(trailer + 24, 8);
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_referenceSize < 1 || m_referenceSize > 8 ||
            count == 0 || root >= count || table < 8 || table > quint64(trailer) ||
            count > (quint64(trailer) - table) / quint64(m_offsetSize))
            return false;
        m_objectCount = count;
        m_root = root;
        m_table = qsizetype(table);
        return true;
    }

    // Containers have members; every other object is a leaf.
    std::optional<Members> membersOf(quint64 object) const
    {
        const std::optional<quint64> offset =
            number(m_table + qsizetype(object) * m_offsetSize, m_offsetSize);
        if (!offset || *offset < 8 || *offset >= quint64(m_table))
            return std::nullopt;
        qsizetype at = qsizetype(*offset);
        const quint8 marker = quint8(m_bytes[at++]);
        const int type = marker >> 4;
        const bool container = type == 0xA || type == 0xC || type == 0xD;
        if (!container)
            return Members{};
        quint64 count = marker & 0x0F;
        if (count == 0x0F) {
            // The count follows as an integer object of 1, 2, 4 or 8 bytes.
            if (at >= m_table || (quint8(m_bytes[at]) >> 4) != 0x1 || (m_bytes[at] & 0x0F) > 3)
                return std::nullopt;
            const int size = 1 << (m_bytes[at] & 0x0F);
            const std::optional<quint64> read = number(at + 1, size);
            if (!read)
                return std::nullopt;
            count = *read;
            at += 1 + size;
        }
        if (type == 0xD) {
            if (count > quint64(m_bytes.size()))
                return std::nullopt;
            count *= 2; // keys, then values
        }
        if (count > quint64(m_table - at) / quint64(m_referenceSize))
            return std::nullopt;
        return Members{at, count};
    }

    std::optional<quint64> memberAt(const Members& members, quint64 index) const
    {
        const std::optional<quint64> member =
            number(members.at + qsizetype(index) * m_referenceSize, m_referenceSize);
        if (!member || *member >= m_objectCount)
            return std::nullopt;
        return member;
    }

    QByteArrayView m_bytes;
    int m_offsetSize = 0;
    int m_referenceSize = 0;
    quint64 m_objectCount = 0;
    quint64 m_root = 0;
    qsizetype m_table = 0;
    std::vector<State> m_state;
    std::vector<quint64> m_values;
    std::vector<int> m_height;
};

} // namespace

bool withinLimits(const QByteArray& bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("bplist00"))
        return BinaryList(view).withinLimits();
    return xmlWithinLimits(view);
}

} // namespace PropertyList
