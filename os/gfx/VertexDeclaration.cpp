/** @file VertexDeclaration.cpp Checking vertex element tables. */
#include "os/gfx/VertexDeclaration.h"

namespace os::gfx
{

namespace
{
/// Longest table accepted; Direct3D allows 64 elements plus the end marker.
constexpr int kMaxElements = 64;
} // namespace

int VertexDeclaration::GetAttributeLocation(DeclUsage usage, unsigned usageIndex)
{
    switch (usage) {
    case DeclUsage::Position:
    case DeclUsage::PositionT:
        return usageIndex == 0 ? 0 : -1;
    case DeclUsage::BlendWeight:
        return usageIndex == 0 ? 1 : -1;
    case DeclUsage::BlendIndices:
        return usageIndex == 0 ? 2 : -1;
    case DeclUsage::Normal:
        return usageIndex == 0 ? 3 : -1;
    case DeclUsage::Color:
        return usageIndex <= 1 ? 4 + static_cast<int>(usageIndex) : -1;
    case DeclUsage::Tangent:
        return usageIndex == 0 ? 6 : -1;
    case DeclUsage::Binormal:
        return usageIndex == 0 ? 7 : -1;
    case DeclUsage::TexCoord:
        return usageIndex <= 7 ? 8 + static_cast<int>(usageIndex) : -1;
    default:
        return -1;
    }
}

std::shared_ptr<VertexDeclaration> VertexDeclaration::Create(const VertexElement* elements)
{
    if (elements == nullptr) {
        return nullptr;
    }
    std::vector<VertexElement> table;
    unsigned usedLocations = 0;
    for (int i = 0;; ++i) {
        if (i > kMaxElements) {
            return nullptr;
        }
        const VertexElement& element = elements[i];
        if (element.Stream == 0xFF) {
            break;
        }
        if (element.Stream != 0 || element.Method != DeclMethod::Default) {
            return nullptr;
        }
        switch (element.Type) {
        case DeclType::Float1:
        case DeclType::Float2:
        case DeclType::Float3:
        case DeclType::Float4:
        case DeclType::Color:
        case DeclType::UByte4:
        case DeclType::Short2:
        case DeclType::Short4:
        case DeclType::UByte4N:
        case DeclType::Short2N:
        case DeclType::Short4N:
        case DeclType::UShort2N:
        case DeclType::UShort4N:
            break;
        default:
            return nullptr;
        }
        const int location = GetAttributeLocation(element.Usage, element.UsageIndex);
        if (location < 0 || (usedLocations & (1u << location)) != 0) {
            return nullptr;
        }
        usedLocations |= 1u << location;
        table.push_back(element);
    }
    return std::shared_ptr<VertexDeclaration>(new VertexDeclaration(std::move(table)));
}

} // namespace os::gfx
