/** @file VertexDeclaration.h The layout of one vertex as the draws read it from client memory. */
#pragma once

#include <memory>
#include <vector>

#include "os/gfx/Types.h"

namespace os::gfx
{

/// A checked copy of a vertex element table. Attribute locations follow the element's usage:
/// POSITION0 0, BLENDWEIGHT0 1, BLENDINDICES0 2, NORMAL0 3, COLOR0 4, COLOR1 5, TANGENT0 6,
/// BINORMAL0 7, TEXCOORD0-7 8-15; vertex programs declare their inputs with these locations.
class VertexDeclaration
{
public:
    /// The elements without the end marker, in table order.
    const std::vector<VertexElement>& GetElements() const { return elements_; }

    /// The attribute location an element feeds, or -1 when the usage has none.
    static int GetAttributeLocation(DeclUsage usage, unsigned usageIndex);

    /// Builds a declaration from a table ended by DeclEnd(); nullptr when an element uses a
    /// stream other than 0, a method other than the default, a type or usage the layer cannot
    /// feed, or when two elements feed the same location.
    static std::shared_ptr<VertexDeclaration> Create(const VertexElement* elements);

private:
    explicit VertexDeclaration(std::vector<VertexElement> elements) : elements_(std::move(elements)) {}
    std::vector<VertexElement> elements_;
};

} // namespace os::gfx
