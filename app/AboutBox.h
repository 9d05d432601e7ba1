#pragma once
#include <QDialog>

namespace tabora {

// "About Tabora": the product picture with its credits and an OK button.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // The picture's size; the dialog is exactly as large.
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 350;
};

}  // namespace tabora
