// Any bytes: decoding never crashes, and whatever decodes survives a write and a read unchanged
// (the written form is a fixed point).
#include "model/groups_file.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QList<AppGroup>> groups = GroupsFile::decode(bytes);
    if (!groups)
        return 0;
    const QByteArray written = GroupsFile::encode(*groups);
    const std::optional<QList<AppGroup>> reread = GroupsFile::decode(written);
    if (!reread || reread->size() != groups->size())
        std::abort();
    for (qsizetype i = 0; i < groups->size(); ++i) {
        const AppGroup& a = (*groups)[i];
        const AppGroup& b = (*reread)[i];
        // Exact text, not canonical equality: nothing may be normalised on the way.
        if (a.id != b.id || a.name != b.name || a.apps != b.apps || a.icon != b.icon) {
            // Only a lone surrogate may change, into U+FFFD.
            if (!a.name.contains(QChar(0xFFFD)) && !b.name.contains(QChar(0xFFFD)))
                std::abort();
        }
    }
    if (GroupsFile::encode(*reread) != written)
        std::abort();
    return 0;
}
