#pragma once

#include "db/dates.h"
#include "db/value.h"

#include <QtGlobal>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace data {

// Rows packed one after another in large blocks: a million rows of goods take
// about a hundred bytes each instead of a QString per cell. A row is a run of
// cells, each a kind byte and then 8 bytes (number) or a length and UTF-8 text.
class RowStore {
public:
    enum : char { Null = 0, Int = 1, Real = 2, Text = 3 };

    const char* add(const std::string& packed) {
        beginRow();
        std::memcpy(reserve(packed.size()), packed.data(), packed.size());
        return endRow();
    }

    // Writing a row straight into the current block (the load path: no copy).
    void beginRow() { rowStart_ = used_; }
    void writeNull() { *reserve(1) = Null; }
    void writeInt(qint64 v) { writeFixed(Int, &v); }
    void writeReal(double v) { writeFixed(Real, &v); }
    void writeText(std::string_view t) {
        const quint32 n = static_cast<quint32>(t.size());
        char* p = reserve(5 + n);
        *p = Text;
        std::memcpy(p + 1, &n, sizeof n);
        std::memcpy(p + 5, t.data(), n);
    }
    const char* endRow() { return blocks_.back().get() + rowStart_; }

    static void putNull(std::string& out) { out.push_back(Null); }
    static void putInt(std::string& out, qint64 v) {
        out.push_back(Int);
        out.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    static void putReal(std::string& out, double v) {
        out.push_back(Real);
        out.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    static void putText(std::string& out, std::string_view t) {
        out.push_back(Text);
        const quint32 n = static_cast<quint32>(t.size());
        out.append(reinterpret_cast<const char*>(&n), sizeof n);
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

    // Skips to cell `col` of a packed row.
    static const char* cell(const char* p, int col) {
        for (int i = 0; i < col; ++i) {
            switch (*p) {
            case Int:
            case Real: p += 9; break;
            case Text: {
                quint32 n;
                std::memcpy(&n, p + 1, sizeof n);
                p += 5 + n;
                break;
            }
            default: p += 1;
            }
        }
        return p;
    }

    // The cell as the engine gave it: a date stays the stored text, so that
    // it can be compared with what the file holds.
    static db::Value readRaw(const char* p) { return read(p, db::FieldType::Unknown); }

    static db::Value read(const char* p, db::FieldType type) {
        switch (*p) {
        case Int: {
            qint64 v;
            std::memcpy(&v, p + 1, sizeof v);
            return v;
        }
        case Real: {
            double v;
            std::memcpy(&v, p + 1, sizeof v);
            return v;
        }
        case Text: {
            quint32 n;
            std::memcpy(&n, p + 1, sizeof n);
            const QString s = QString::fromUtf8(p + 5, static_cast<qsizetype>(n));
            if (type == db::FieldType::DateTime) {
                if (auto d = db::dates::fromStorage(s))
                    return *d;
            }
            return s;
        }
        default: return {};
        }
    }

private:
    template <class T>
    void writeFixed(char kind, const T* v) {
        char* p = reserve(1 + sizeof(T));
        *p = kind;
        std::memcpy(p + 1, v, sizeof(T));
    }
    // Room for n more bytes of the row begun; a row that does not fit moves to a new block.
    char* reserve(size_t n) {
        if (blocks_.empty() || used_ + n > blockSize_) {
            const size_t partial = blocks_.empty() ? 0 : used_ - rowStart_;
            const size_t size = std::max(partial + n, kBlock);
            auto block = std::make_unique_for_overwrite<char[]>(size);
            if (partial)
                std::memcpy(block.get(), blocks_.back().get() + rowStart_, partial);
            blocks_.push_back(std::move(block));
            blockSize_ = size;
            used_ = partial;
            rowStart_ = 0;
        }
        char* p = blocks_.back().get() + used_;
        used_ += n;
        return p;
    }

    static constexpr size_t kBlock = 4 << 20;
    size_t rowStart_ = 0;
    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t used_ = 0;
    size_t blockSize_ = 0;
};

} // namespace data
