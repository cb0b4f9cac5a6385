#pragma once
// The colour dialog of the highlight filter dialog's colour buttons, and the
// swatch such a button shows.

#include <QIcon>

#include <cstdint>

class QWidget;

namespace filters_ui {

// Asks for a colour starting from color (0x00BBGGRR); true and the new
// colour in color when the user confirmed one.
bool ChooseColor(QWidget* parent, const QString& title, std::uint32_t& color);

QIcon ColorSwatch(std::uint32_t color);

}  // namespace filters_ui
