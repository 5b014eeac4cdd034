#pragma once

#include "platform/Boxes.h"
#include "platform/Database.h"

namespace velmora {

// The program's own tables inside the supplier database: the price list worked out for the
// signed-in customer (LISTINO), the order lines (ORDINI) and the order header (T_ORDINI). Each
// is dropped (a failure is fine: it may not exist) and created again with its indexes. On a
// failure the fixed message is shown and false returned; the caller shuts the program down.
bool Crea_Tabella_Listino(db::Connection& connection, Boxes& boxes);
bool Crea_Tabelle_Ordini(db::Connection& connection, Boxes& boxes);

// Whether a table has a column, asked from RDB$RELATION_FIELDS; false on any failure.
bool Colonna_Presente(db::Connection& connection, const QString& tabella, const QString& campo);

}  // namespace velmora
