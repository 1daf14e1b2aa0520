/** @file EventHooks.cpp The raw event handler list. */
#include "os/window/EventHooks.h"

#include <mutex>
#include <utility>
#include <vector>

#include <SDL.h>

namespace os::window
{

namespace
{
struct HandlerList
{
    std::mutex mutex;
    int nextId = 1;
    std::vector<std::pair<int, RawEventHandler>> handlers;
};
HandlerList& Handlers()
{
    static HandlerList list;
    return list;
}
} // namespace

int AddRawEventHandler(RawEventHandler handler)
{
    auto& list = Handlers();
    std::lock_guard<std::mutex> lock(list.mutex);
    int id = list.nextId++;
    list.handlers.emplace_back(id, std::move(handler));
    return id;
}

void RemoveRawEventHandler(int id)
{
    auto& list = Handlers();
    std::lock_guard<std::mutex> lock(list.mutex);
    std::erase_if(list.handlers, [id](const auto& entry) { return entry.first == id; });
}

void DispatchRawEvent(const SDL_Event& event)
{
    std::vector<std::pair<int, RawEventHandler>> copy;
    {
        auto& list = Handlers();
        std::lock_guard<std::mutex> lock(list.mutex);
        copy = list.handlers;
    }
    for (auto& entry : copy)
        entry.second(event);
}

} // namespace os::window
