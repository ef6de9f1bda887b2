#pragma once

#include <QFileDialog>

#include <memory>

namespace tavrisk::app {

// The merge command's dialogs, configured but not shown.
// OpenDialog8: several existing files to merge.
std::unique_ptr<QFileDialog> MakeOpenDialog8(QWidget* parent);
// SaveDialog8: the file to write, with a question before replacing one.
std::unique_ptr<QFileDialog> MakeSaveDialog8(QWidget* parent);

}  // namespace tavrisk::app
