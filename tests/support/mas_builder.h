#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qora::testing {

// Little-endian 32-bit value at `at` in archive bytes.
inline std::uint32_t u32At(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    return v;
}

// The text of a vehicle entry carrying the three description keys the archive reader looks for.
inline std::string vehicleText(const std::string& desc, const std::string& cls, const std::string& unlock = "",
                               const std::string& body = "[BODY]\r\nmass=(1000.0)\r\n") {
    std::string t = "//DescFile=" + desc + "\r\n//DescClass=" + cls + "\r\n";
    if (!unlock.empty())
        t += "//UnlockPoints=" + unlock + "\r\n";
    return t + body;
}

// Builds vehicle archive bytes: header (entry count, data size), 32-byte directory records, data region.
// By default the entries' data lie back to back in directory order and every field is consistent; the
// options break them on purpose.
class MasBuilder {
public:
    struct Entry {
        std::string name; // written as is: 16 characters leave no terminating NUL
        std::string data;
        std::optional<std::uint32_t> offset; // the record's offset field; default: where the data was laid
        std::optional<std::uint32_t> size;   // default: data.size()
        std::optional<std::uint32_t> secondSize;
        std::uint32_t reserved = 0;
    };

    MasBuilder& add(std::string name, std::string data) {
        m_entries.push_back({std::move(name), std::move(data), {}, {}, {}, 0});
        return *this;
    }
    MasBuilder& add(Entry entry) {
        m_entries.push_back(std::move(entry));
        return *this;
    }
    // The order, by directory index, in which the entries' data are laid into the data region.
    MasBuilder& dataOrder(std::vector<std::size_t> order) {
        m_order = std::move(order);
        return *this;
    }
    MasBuilder& entryCount(std::uint32_t n) {
        m_count = n;
        return *this;
    }
    MasBuilder& dataSize(std::uint32_t d) {
        m_dataSize = d;
        return *this;
    }
    // Bytes appended after the data region (not counted in the header).
    MasBuilder& trailing(std::string bytes) {
        m_trailing = std::move(bytes);
        return *this;
    }

    // Where each entry's data was laid in the data region (back to back in the data order).
    std::vector<std::uint32_t> offsets() const {
        std::vector<std::uint32_t> out(m_entries.size());
        std::uint32_t at = 0;
        for (std::size_t i : order()) {
            out[i] = at;
            at += static_cast<std::uint32_t>(m_entries[i].data.size());
        }
        return out;
    }

    std::string bytes() const {
        const auto laid = offsets();
        std::string data;
        for (std::size_t i : order())
            data += m_entries[i].data;

        std::string out;
        put(out, m_count.value_or(static_cast<std::uint32_t>(m_entries.size())));
        put(out, m_dataSize.value_or(static_cast<std::uint32_t>(data.size())));
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            const Entry& e = m_entries[i];
            std::string record(32, '\0');
            record.replace(0, std::min<std::size_t>(e.name.size(), 16), e.name.substr(0, 16));
            std::string fields;
            const std::uint32_t size = e.size.value_or(static_cast<std::uint32_t>(e.data.size()));
            put(fields, e.offset.value_or(laid[i]));
            put(fields, size);
            put(fields, e.secondSize.value_or(size));
            put(fields, e.reserved);
            record.replace(16, 16, fields);
            out += record;
        }
        return out + data + m_trailing;
    }

private:
    static void put(std::string& out, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    std::vector<std::size_t> order() const {
        if (!m_order.empty())
            return m_order;
        std::vector<std::size_t> o(m_entries.size());
        std::iota(o.begin(), o.end(), std::size_t{0});
        return o;
    }

    std::vector<Entry> m_entries;
    std::vector<std::size_t> m_order;
    std::optional<std::uint32_t> m_count;
    std::optional<std::uint32_t> m_dataSize;
    std::string m_trailing;
};

} // namespace qora::testing
