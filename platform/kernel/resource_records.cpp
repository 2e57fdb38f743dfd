// The byte forms of module resources.
#include "platform/kernel/resource_records.h"

#include <limits>

namespace {

// The deepest popup nesting a menu decoder follows; real menus are a few
// levels deep, so anything deeper is damage rather than a menu.
constexpr int kMaxMenuDepth = 16;
// The largest image a bitmap decoder accepts, in pixels per side.
constexpr LONG kMaxImageSide = 16384;

class ByteWriter {
public:
    void U8(uint8_t v) { m_bytes.push_back(v); }
    void U16(uint16_t v)
    {
        U8(static_cast<uint8_t>(v & 0xFF));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v)
    {
        U16(static_cast<uint16_t>(v & 0xFFFF));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    // Texts longer than a u16 length can say are cut; the compiler refuses
    // them before they get here.
    void Text(const std::string& text)
    {
        const size_t length = std::min<size_t>(text.size(), std::numeric_limits<uint16_t>::max());
        U16(static_cast<uint16_t>(length));
        m_bytes.insert(m_bytes.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
    }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

// Reads fields in order; once a read does not fit, every later read fails
// too and Ok() stays false.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_pos == m_bytes.size(); }
    size_t Remaining() const { return m_bytes.size() - m_pos; }

    uint8_t U8()
    {
        if (!Fits(1)) {
            return 0;
        }
        return m_bytes[m_pos++];
    }
    uint16_t U16()
    {
        const uint16_t low = U8();
        const uint16_t high = U8();
        return static_cast<uint16_t>(low | (high << 8));
    }
    uint32_t U32()
    {
        const uint32_t low = U16();
        const uint32_t high = U16();
        return low | (high << 16);
    }
    int16_t I16() { return static_cast<int16_t>(U16()); }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    std::string Text()
    {
        const uint16_t length = U16();
        if (!Fits(length)) {
            return {};
        }
        std::string text(reinterpret_cast<const char*>(m_bytes.data() + m_pos), length);
        m_pos += length;
        return text;
    }
    std::span<const uint8_t> Rest()
    {
        std::span<const uint8_t> rest = m_bytes.subspan(m_pos);
        m_pos = m_bytes.size();
        return rest;
    }

private:
    bool Fits(size_t count)
    {
        if (!m_ok || count > Remaining()) {
            m_ok = false;
            return false;
        }
        return true;
    }

    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
    bool m_ok = true;
};

void WriteMenuItems(ByteWriter& out, const std::vector<MenuTemplateItem>& items)
{
    out.U16(static_cast<uint16_t>(items.size()));
    for (const MenuTemplateItem& item : items) {
        out.U16(item.flags);
        out.U32(item.id);
        out.Text(item.text);
        if ((item.flags & kMenuPopup) != 0) {
            WriteMenuItems(out, item.children);
        }
    }
}

bool ReadMenuItems(ByteReader& in, std::vector<MenuTemplateItem>& items, int depth)
{
    if (depth > kMaxMenuDepth) {
        return false;
    }
    const uint16_t count = in.U16();
    for (uint16_t i = 0; i < count && in.Ok(); ++i) {
        MenuTemplateItem item;
        item.flags = in.U16();
        item.id = in.U32();
        item.text = in.Text();
        if ((item.flags & kMenuPopup) != 0 && !ReadMenuItems(in, item.children, depth + 1)) {
            return false;
        }
        items.push_back(std::move(item));
    }
    return in.Ok();
}

void WriteBitmap(ByteWriter& out, const ImagePixels& image)
{
    const uint32_t imageSize = static_cast<uint32_t>(image.width) * static_cast<uint32_t>(image.height) * 4;
    out.U32(kBitmapInfoHeaderSize);
    out.I32(image.width);
    out.I32(image.height);
    out.U16(1);
    out.U16(32);
    out.U32(0);
    out.U32(imageSize);
    out.U32(0);
    out.U32(0);
    out.U32(0);
    out.U32(0);
    const size_t stride = static_cast<size_t>(image.width) * 4;
    for (LONG row = image.height - 1; row >= 0; --row) {
        for (size_t i = 0; i < stride; ++i) {
            out.U8(image.bgra[static_cast<size_t>(row) * stride + i]);
        }
    }
}

std::optional<ImagePixels> ReadBitmap(ByteReader& in)
{
    const uint32_t headerSize = in.U32();
    ImagePixels image;
    image.width = in.I32();
    image.height = in.I32();
    const uint16_t planes = in.U16();
    const uint16_t bits = in.U16();
    const uint32_t compression = in.U32();
    for (int i = 0; i < 5; ++i) {
        (void)in.U32();
    }
    if (!in.Ok() || headerSize != kBitmapInfoHeaderSize || planes != 1 || bits != 32 || compression != 0 ||
        image.width <= 0 || image.height <= 0 || image.width > kMaxImageSide || image.height > kMaxImageSide) {
        return std::nullopt;
    }
    const size_t stride = static_cast<size_t>(image.width) * 4;
    const size_t total = stride * static_cast<size_t>(image.height);
    std::span<const uint8_t> rows = in.Rest();
    if (rows.size() != total) {
        return std::nullopt;
    }
    image.bgra.resize(total);
    for (LONG row = 0; row < image.height; ++row) {
        const size_t source = static_cast<size_t>(image.height - 1 - row) * stride;
        std::copy(rows.begin() + static_cast<std::ptrdiff_t>(source),
                  rows.begin() + static_cast<std::ptrdiff_t>(source + stride),
                  image.bgra.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(row) * stride));
    }
    return image;
}

} // namespace

std::vector<uint8_t> EncodeMenuTemplate(const MenuTemplate& menu)
{
    ByteWriter out;
    WriteMenuItems(out, menu.items);
    return out.Take();
}

std::optional<MenuTemplate> DecodeMenuTemplate(std::span<const uint8_t> bytes)
{
    ByteReader in(bytes);
    MenuTemplate menu;
    if (!ReadMenuItems(in, menu.items, 0) || !in.AtEnd()) {
        return std::nullopt;
    }
    return menu;
}

std::vector<uint8_t> EncodeDialogTemplate(const DialogTemplate& dialog)
{
    ByteWriter out;
    out.U32(dialog.style);
    out.U32(dialog.exStyle);
    out.I16(dialog.x);
    out.I16(dialog.y);
    out.I16(dialog.cx);
    out.I16(dialog.cy);
    out.U16(dialog.fontPointSize);
    out.Text(dialog.fontFace);
    out.Text(dialog.caption);
    out.Text(dialog.className);
    out.U16(dialog.menuId);
    out.U16(static_cast<uint16_t>(dialog.items.size()));
    for (const DialogItemTemplate& item : dialog.items) {
        out.U32(item.style);
        out.U32(item.exStyle);
        out.I16(item.x);
        out.I16(item.y);
        out.I16(item.cx);
        out.I16(item.cy);
        out.I32(item.id);
        out.Text(item.className);
        out.Text(item.text);
    }
    return out.Take();
}

std::optional<DialogTemplate> DecodeDialogTemplate(std::span<const uint8_t> bytes)
{
    ByteReader in(bytes);
    DialogTemplate dialog;
    dialog.style = in.U32();
    dialog.exStyle = in.U32();
    dialog.x = in.I16();
    dialog.y = in.I16();
    dialog.cx = in.I16();
    dialog.cy = in.I16();
    dialog.fontPointSize = in.U16();
    dialog.fontFace = in.Text();
    dialog.caption = in.Text();
    dialog.className = in.Text();
    dialog.menuId = in.U16();
    const uint16_t count = in.U16();
    for (uint16_t i = 0; i < count && in.Ok(); ++i) {
        DialogItemTemplate item;
        item.style = in.U32();
        item.exStyle = in.U32();
        item.x = in.I16();
        item.y = in.I16();
        item.cx = in.I16();
        item.cy = in.I16();
        item.id = in.I32();
        item.className = in.Text();
        item.text = in.Text();
        dialog.items.push_back(std::move(item));
    }
    if (!in.Ok() || !in.AtEnd()) {
        return std::nullopt;
    }
    return dialog;
}

std::vector<uint8_t> EncodeAccelerators(const std::vector<AcceleratorEntry>& entries)
{
    ByteWriter out;
    for (const AcceleratorEntry& entry : entries) {
        out.U8(entry.flags);
        out.U8(0);
        out.U16(entry.key);
        out.U16(entry.command);
    }
    return out.Take();
}

std::optional<std::vector<AcceleratorEntry>> DecodeAccelerators(std::span<const uint8_t> bytes)
{
    if (bytes.size() % 6 != 0) {
        return std::nullopt;
    }
    ByteReader in(bytes);
    std::vector<AcceleratorEntry> entries;
    while (!in.AtEnd()) {
        AcceleratorEntry entry;
        entry.flags = in.U8();
        (void)in.U8();
        entry.key = in.U16();
        entry.command = in.U16();
        entries.push_back(entry);
    }
    return entries;
}

std::vector<uint8_t> EncodeToolbarTemplate(const ToolbarTemplate& toolbar)
{
    ByteWriter out;
    out.U16(1);
    out.U16(toolbar.width);
    out.U16(toolbar.height);
    out.U16(static_cast<uint16_t>(toolbar.items.size()));
    for (WORD item : toolbar.items) {
        out.U16(item);
    }
    return out.Take();
}

std::optional<ToolbarTemplate> DecodeToolbarTemplate(std::span<const uint8_t> bytes)
{
    ByteReader in(bytes);
    ToolbarTemplate toolbar;
    const uint16_t version = in.U16();
    toolbar.width = in.U16();
    toolbar.height = in.U16();
    const uint16_t count = in.U16();
    if (!in.Ok() || version != 1 || in.Remaining() != static_cast<size_t>(count) * 2) {
        return std::nullopt;
    }
    for (uint16_t i = 0; i < count; ++i) {
        toolbar.items.push_back(in.U16());
    }
    return toolbar;
}

std::vector<uint8_t> EncodeBitmap(const ImagePixels& image)
{
    ByteWriter out;
    WriteBitmap(out, image);
    return out.Take();
}

std::optional<ImagePixels> DecodeBitmap(std::span<const uint8_t> bytes)
{
    ByteReader in(bytes);
    return ReadBitmap(in);
}

std::vector<uint8_t> EncodeCursor(const CursorImage& cursor)
{
    ByteWriter out;
    out.U16(cursor.hotSpotX);
    out.U16(cursor.hotSpotY);
    WriteBitmap(out, cursor.image);
    return out.Take();
}

std::optional<CursorImage> DecodeCursor(std::span<const uint8_t> bytes)
{
    ByteReader in(bytes);
    CursorImage cursor;
    cursor.hotSpotX = in.U16();
    cursor.hotSpotY = in.U16();
    std::optional<ImagePixels> image = ReadBitmap(in);
    if (!image) {
        return std::nullopt;
    }
    cursor.image = std::move(*image);
    return cursor;
}
