/** @file PagePacker.cpp Shelf packing on power-of-two pages. */
#include "tools/fontbuild/PagePacker.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <numeric>
#include <tuple>

#include "tools/fontbuild/CharacterSet.h"

namespace fontbuild
{

namespace
{

/// Places the items in `order` on a page of the given size; false when they do not fit.
bool PackShelves(std::vector<PackItem>& items, const std::vector<std::size_t>& order, PageSize page)
{
    std::uint64_t x = 1;
    std::uint64_t y = 1;
    std::uint64_t shelfHeight = 0;
    for (std::size_t index : order) {
        PackItem& item = items[index];
        if (item.width == 0 || item.height == 0) {
            item.x = 0;
            item.y = 0;
            continue;
        }
        if (x + item.width > page.width) {
            x = 1;
            y += shelfHeight + 1;
            shelfHeight = 0;
        }
        if (x + item.width > page.width || y + item.height > page.height) {
            return false;
        }
        item.x = static_cast<std::uint32_t>(x);
        item.y = static_cast<std::uint32_t>(y);
        x += item.width + 1;
        shelfHeight = std::max<std::uint64_t>(shelfHeight, item.height);
    }
    return true;
}

} // namespace

PageSize PackOnSmallestPage(std::vector<PackItem>& items)
{
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&items](std::size_t a, std::size_t b) {
        return std::tie(items[b].height, items[b].width) < std::tie(items[a].height, items[a].width);
    });

    std::vector<PageSize> pages;
    for (std::uint32_t w = 1; w <= kMaxPageSide; w *= 2) {
        for (std::uint32_t h = 1; h <= kMaxPageSide; h *= 2) {
            pages.push_back(PageSize{w, h});
        }
    }
    std::sort(pages.begin(), pages.end(), [](PageSize a, PageSize b) {
        const std::uint64_t areaA = std::uint64_t{a.width} * a.height;
        const std::uint64_t areaB = std::uint64_t{b.width} * b.height;
        if (areaA != areaB) {
            return areaA < areaB;
        }
        // The most nearly square first; of two equally far from square, the wider one.
        auto rank = [](PageSize p) {
            const int w = std::countr_zero(p.width);
            const int h = std::countr_zero(p.height);
            return 2 * std::abs(w - h) + (h > w ? 1 : 0);
        };
        return rank(a) < rank(b);
    });
    for (PageSize page : pages) {
        if (PackShelves(items, order, page)) {
            return page;
        }
    }
    throw Error("the glyphs do not fit on a page of 4096 x 4096 pixels");
}

} // namespace fontbuild
