#include "widgets/OddButton.h"

COddButton::COddButton(QWidget* parent)
    : QPushButton(parent)
{
}
