#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace orbitograph {

// The program's own file dialog in Russian throughout: the files listed by
// name only, without the columns of type, size and date, whose words come
// from the system's locale rather than the program's translation.
void ListNamesOnly(QFileDialog& dialog);

// The picture whose description "Открыть параметры из рисунка..." reads, or
// empty when cancelled: PNG pictures shown, an existing file required.
QString ChoosePictureToOpenModally(QWidget* parent);

// Where "Экспорт данных..." writes, or empty when cancelled: the chosen
// filter decides the kind, and its extension (.npz or .csv) is added when
// the name has none of the two. The user has agreed to replace an existing
// file of the final name.
QString ChooseExportNameModally(QWidget* parent);

// The extension a chosen name gets for a filter ("*.npz" or "*.csv"), kept
// when the name already ends in .npz or .csv (in any case).
QString WithDataExtension(const QString& name, const QString& selectedFilter);

}  // namespace orbitograph
