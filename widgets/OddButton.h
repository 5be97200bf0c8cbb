#pragma once
#include <QPushButton>

// The base of the self-painted buttons. The toolkit keeps a button's part in the
// dialog's default-button rule (Enter, the default frame moving with the focus)
// apart from its painting, so a button that paints itself still takes part.
class COddButton : public QPushButton {
    Q_OBJECT

public:
    explicit COddButton(QWidget* parent = nullptr);

    // Whether the button is the dialog's default button at the moment.
    bool IsDefault() const { return isDefault(); }
};
