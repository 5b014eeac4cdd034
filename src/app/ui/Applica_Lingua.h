#pragma once

#include <QObject>

#include "app/Testi.h"

namespace velmora {

// The numeric tag of a component, as a dynamic property: the caption code is "A" + tag.
inline constexpr const char* kTag = "tag";
inline void setTag(QObject* object, int tag) {
    object->setProperty(kTag, tag);
}

// Gives every tagged component below `root` the text of its code: buttons (tool buttons
// too), labels, actions (menu entries, toolbar buttons) and the pages of a tab widget. Other
// kinds keep their text even when tagged. A code without a text column throws
// db::DatabaseError.
void Applica_Testi(QObject* root, const Testi& testi);

}  // namespace velmora
