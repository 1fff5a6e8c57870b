#include "framework/window/message_map.h"

const MessageMapEntry* FindMessageMapEntry(const MessageMap* map, MessageEvent event, int id) {
    for (; map != nullptr; map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const MessageMapEntry* entry = map->entries; entry->event != MessageEvent::end;
             ++entry) {
            if (entry->event == event && id >= entry->firstId && id <= entry->lastId) {
                return entry;
            }
        }
    }
    return nullptr;
}
