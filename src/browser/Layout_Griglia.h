#pragma once

#include <QString>

#include "browser/Colonne.h"
#include "platform/Boxes.h"

namespace velmora {

// The saved column layouts of the two grids: an INI-format file in the installation folder, one
// section per grid, one entry per column in display order: FIELD=width;;title;;flag[;;group].
inline const QString kLayoutCatalogo = QStringLiteral("GRIGLIA_LIST.CFG");
inline const QString kSezioneCatalogo = QStringLiteral("Form1wwDBGrid1");
inline const QString kLayoutOrdine = QStringLiteral("GRIGLIA_ORD.CFG");
inline const QString kSezioneOrdine = QStringLiteral("Form1wwDBGrid2");

// Loads a grid's layout. Without a file, a section or entries the grid keeps its own columns;
// an entry without ";;" is warned about ("Key Delimiter Not Found") and the own columns come
// back. Entries naming a field the grid does not have, or one named before, are left out; own
// columns missing from the file are appended at the end.
Colonne Carica_Layout(const QString& file, const QString& sezione, const Colonne& proprie, Boxes& boxes);

// Saves a grid's layout: the section is emptied and written again, other sections stay.
// Nothing is written for a grid without columns. False when the file cannot be written.
bool Salva_Layout(const QString& file, const QString& sezione, const Colonne& colonne);

}  // namespace velmora
