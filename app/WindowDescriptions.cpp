// What screen readers announce for each control: a short name and a
// sentence on what it does. The names double as tooltips.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

#include "app/TaboraWindow.h"
#include "controls/AValueWnd.h"
#include "controls/CSizeComboBox.h"
#include "controls/ColorButton.h"
#include "controls/FontPopup.h"
#include "controls/FormatIconWnd.h"
#include "controls/PreviewWnd.h"
#include "controls/WorkAreaWnd.h"
#include "styles/qt/ArchiveWnd.h"

namespace tabora {

namespace {
void Describe(QWidget* widget, const QString& name, const QString& description,
              bool tooltip = true) {
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
    if (tooltip) widget->setToolTip(name);
}
}  // namespace

void TaboraWindow::DescribeControls() {
    Describe(archive_, tr("Button style archive"),
             tr("Arrow keys move between styles, Enter picks one"), false);
    Describe(sizeSlider_, tr("Size"), tr("Widens or shrinks the button body"));
    Describe(hueSlider_, tr("Hue"), tr("Shifts the colour of the button body"));
    Describe(brightnessSlider_, tr("Brightness"), tr("Lightens or darkens the button body"));
    Describe(backgroundSwatch_, tr("Background color"), tr("Chooses the colour behind the button"));
    Describe(shadowCheck_, tr("Drop shadow"), tr("Draws a shadow under the button"));
    Describe(captionEdit_, tr("Caption"), tr("The text on the button"), false);
    Describe(fontList_, tr("Font"), tr("The font of the caption"), false);
    Describe(styleList_, tr("Font style"), tr("Regular, bold, italic or both"));
    Describe(sizeList_, tr("Font size"), tr("The caption's size in points"));
    // The size can be typed: its field speaks for the list.
    Describe(sizeList_->lineEdit(), tr("Font size"), tr("The caption's size in points"), false);
    Describe(textColorSwatch_, tr("Text color"), tr("Chooses the colour of the caption"));
    Describe(antialiasCheck_, tr("Antialias"), tr("Smooths the edges of the caption"));
    Describe(textShadowCheck_, tr("Text shadow"), tr("Draws a shadow under the caption"));
    Describe(nudgeLeft_, tr("Move text left"), tr("Moves the caption one pixel left"));
    Describe(nudgeUp_, tr("Move text up"), tr("Moves the caption one pixel up"));
    Describe(nudgeRight_, tr("Move text right"), tr("Moves the caption one pixel right"));
    Describe(nudgeDown_, tr("Move text down"), tr("Moves the caption one pixel down"));
    for (const FormatIcon& icon : formatIcons_) {
        const QString label = QString::fromLatin1(icon.format->label);
        Describe(icon.picture, tr("Save as %1").arg(label),
                 tr("Saves the button as a %1 file, asking for its name").arg(label));
    }
    Describe(preview_, tr("Button preview"), tr("The button as it will be saved"), false);
    Describe(workArea_, tr("Preview area"), tr("The backdrop of the button preview"), false);
    // The read-outs name themselves by their value ("+9.6%").
    sizeValue_->setAccessibleDescription(tr("The button size in percent"));
    hueValue_->setAccessibleDescription(tr("The hue shift in degrees"));
    brightnessValue_->setAccessibleDescription(tr("The brightness change in percent"));
}

}  // namespace tabora
