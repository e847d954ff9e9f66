#pragma once

#include "db/dates.h"
#include "db/value.h"

#include <QtGlobal>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <vector>

namespace data {

// Rows packed one after another in large blocks: a million rows of goods take
// well under a hundred bytes each instead of a QString per cell. A row is a run
// of cells, each a kind byte and then the value: whole numbers in the fewest of
// 1, 2, 4 or 8 bytes, a real in 8, a text as its length (1 byte up to 255, else
// 4) and its UTF-8 bytes.
class RowStore {
public:
    enum : char { Null = 0, Int8 = 1, Int16 = 2, Int32 = 3, Int64 = 4, Real = 5, ShortText = 6, Text = 7 };

    RowStore() = default;
    RowStore(const RowStore&) = delete;
    RowStore& operator=(const RowStore&) = delete;

    const char* add(const std::string& packed) {
        beginRow();
        std::memcpy(reserve(packed.size()), packed.data(), packed.size());
        return endRow();
    }

    // Writing a row straight into the current block (the load path: no copy).
    void beginRow() { rowStart_ = used_; }
    void writeNull() { *reserve(1) = Null; }
    void writeInt(qint64 v) {
        char* p = reserve(9);
        used_ -= 9 - encodeInt(p, v);
    }
    void writeReal(double v) {
        char* p = reserve(9);
        *p = Real;
        std::memcpy(p + 1, &v, sizeof v);
    }
    void writeText(std::string_view t) {
        const size_t head = t.size() <= 255 ? 2 : 5;
        char* p = reserve(head + t.size());
        encodeTextHead(p, t.size());
        std::memcpy(p + head, t.data(), t.size());
    }
    const char* endRow() { return blocks_.back().get() + rowStart_; }

    static void putNull(std::string& out) { out.push_back(Null); }
    static void putInt(std::string& out, qint64 v) {
        char b[9];
        out.append(b, encodeInt(b, v));
    }
    static void putReal(std::string& out, double v) {
        out.push_back(Real);
        out.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    static void putText(std::string& out, std::string_view t) {
        char b[5];
        out.append(b, encodeTextHead(b, t.size()));
        out.append(t.data(), t.size());
    }
    static void putValue(std::string& out, const db::Value& v) {
        if (v.isNull())
            putNull(out);
        else if (auto i = v.ifInt())
            putInt(out, *i);
        else if (auto r = v.ifReal())
            putReal(out, *r);
        else if (auto d = v.ifDateTime())
            putText(out, db::dates::toStorage(*d).toStdString());
        else
            putText(out, v.ifText()->toStdString());
    }

    // The bytes cell `p` takes, its kind byte included.
    static size_t cellSize(const char* p) {
        switch (*p) {
        case Int8: return 2;
        case Int16: return 3;
        case Int32: return 5;
        case Int64:
        case Real: return 9;
        case ShortText: return 2 + static_cast<quint8>(p[1]);
        case Text: {
            quint32 n;
            std::memcpy(&n, p + 1, sizeof n);
            return 5 + n;
        }
        default: return 1;
        }
    }

    // Skips to cell `col` of a packed row.
    static const char* cell(const char* p, int col) {
        for (int i = 0; i < col; ++i)
            p += cellSize(p);
        return p;
    }

    // The cell as the engine gave it: a date stays the stored text, so that
    // it can be compared with what the file holds.
    static db::Value readRaw(const char* p) { return read(p, db::FieldType::Unknown); }

    static db::Value read(const char* p, db::FieldType type) {
        switch (*p) {
        case Int8:
        case Int16:
        case Int32:
        case Int64: return integer(p);
        case Real: return real(p);
        case ShortText:
        case Text: {
            const std::string_view t = text(p);
            const QString s = QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
            if (type == db::FieldType::DateTime) {
                if (auto d = db::dates::fromStorage(s))
                    return *d;
            }
            return s;
        }
        default: return {};
        }
    }

    // The number of an integer cell (Int8..Int64) and of a Real cell.
    static qint64 integer(const char* p) {
        switch (*p) {
        case Int8: return static_cast<qint8>(p[1]);
        case Int16: return fixed<qint16>(p + 1);
        case Int32: return fixed<qint32>(p + 1);
        default: return fixed<qint64>(p + 1);
        }
    }
    static double real(const char* p) { return fixed<double>(p + 1); }

    // The UTF-8 bytes of a text cell.
    static std::string_view text(const char* p) {
        if (*p == ShortText)
            return {p + 2, static_cast<quint8>(p[1])};
        return {p + 5, fixed<quint32>(p + 1)};
    }

private:
    template <class T>
    static T fixed(const char* p) {
        T v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    template <class T>
    static size_t encodeFixed(char* p, char kind, T v) {
        *p = kind;
        std::memcpy(p + 1, &v, sizeof v);
        return 1 + sizeof v;
    }
    static size_t encodeInt(char* p, qint64 v) {
        if (v >= -128 && v <= 127)
            return encodeFixed(p, Int8, static_cast<qint8>(v));
        if (v >= -32768 && v <= 32767)
            return encodeFixed(p, Int16, static_cast<qint16>(v));
        if (v >= INT32_MIN && v <= INT32_MAX)
            return encodeFixed(p, Int32, static_cast<qint32>(v));
        return encodeFixed(p, Int64, v);
    }
    static size_t encodeTextHead(char* p, size_t n) {
        if (n <= 255)
            return encodeFixed(p, ShortText, static_cast<quint8>(n));
        return encodeFixed(p, Text, static_cast<quint32>(n));
    }

    // Room for n more bytes of the row begun; a row that does not fit moves to a new block.
    char* reserve(size_t n) {
        if (used_ + n > blockSize_) [[unlikely]]
            newBlock(n);
        char* p = blocks_.back().get() + used_;
        used_ += n;
        return p;
    }
    void newBlock(size_t n) {
        const size_t partial = blocks_.empty() ? 0 : used_ - rowStart_;
        const size_t size = std::max(partial + n, kBlock);
        // The first block fills as it is written; a list that needs more is a
        // large one, and gets its further blocks with their pages in place: one
        // call for each instead of a page fault for every 4 KB the load writes.
        Block block;
        if (blocks_.empty()) {
            block = Block(static_cast<char*>(std::malloc(size)), Release{0});
        } else {
            void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
            if (p != MAP_FAILED)
                block = Block(static_cast<char*>(p), Release{size});
        }
        if (!block)
            throw std::bad_alloc();
        if (partial)
            std::memcpy(block.get(), blocks_.back().get() + rowStart_, partial);
        blocks_.push_back(std::move(block));
        blockSize_ = size;
        used_ = partial;
        rowStart_ = 0;
    }

    struct Release {
        size_t mapped = 0; // 0: from malloc
        void operator()(char* p) const {
            if (mapped)
                munmap(p, mapped);
            else
                std::free(p);
        }
    };
    using Block = std::unique_ptr<char[], Release>;

    static constexpr size_t kBlock = 4 << 20;
    size_t rowStart_ = 0;
    std::vector<Block> blocks_;
    size_t used_ = 0;
    size_t blockSize_ = 0;
};

} // namespace data
