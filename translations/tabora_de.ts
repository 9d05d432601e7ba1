<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>tabora::AboutBox</name>
    <message>
        <source>About Tabora</source>
        <translation>Über Tabora</translation>
    </message>
    <message>
        <source>Tabora, version 1.0</source>
        <translation>Tabora, Version 1.0</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>tabora::ArchiveWnd</name>
    <message>
        <source>Style %1</source>
        <translation>Stil %1</translation>
    </message>
    <message>
        <source>%1, style %2</source>
        <translation>%1, Stil %2</translation>
    </message>
    <message>
        <source>Arrow keys move between styles, Enter picks one</source>
        <translation>Pfeiltasten wechseln den Stil, die Eingabetaste wählt ihn</translation>
    </message>
</context>
<context>
    <name>tabora::CaptionField</name>
    <message>
        <source>No font has %1</source>
        <translation>Keine Schrift enthält %1</translation>
    </message>
    <message>
        <source>Caption runs %1 px past the body</source>
        <translation>Beschriftung ragt %1 px über den Button hinaus</translation>
    </message>
    <message>
        <source>Contrast %1:1 ✓</source>
        <translation>Kontrast %1:1 ✓</translation>
    </message>
    <message>
        <source>Contrast %1:1 ✗ needs %2:1</source>
        <translation>Kontrast %1:1 ✗ mind. %2:1</translation>
    </message>
</context>
<context>
    <name>tabora::Codecs</name>
    <message>
        <source>error reading PNG file</source>
        <translation>Fehler beim Lesen der PNG-Datei</translation>
    </message>
    <message>
        <source>error writing PNG file</source>
        <translation>Fehler beim Schreiben der PNG-Datei</translation>
    </message>
    <message>
        <source>error writing GIF file</source>
        <translation>Fehler beim Schreiben der GIF-Datei</translation>
    </message>
    <message>
        <source>error writing BMP file</source>
        <translation>Fehler beim Schreiben der BMP-Datei</translation>
    </message>
    <message>
        <source>fatal JPEG error</source>
        <translation>Schwerer JPEG-Fehler</translation>
    </message>
    <message>
        <source>sig != Tbra</source>
        <translation>Keine Tabora-Signatur (sig != Tbra)</translation>
    </message>
</context>
<context>
    <name>tabora::ExportOptionsDialog</name>
    <message>
        <source>%1 Options</source>
        <translation>%1-Optionen</translation>
    </message>
    <message>
        <source>Remove Background From Image</source>
        <translation>Hintergrund aus dem Bild entfernen</translation>
    </message>
    <message>
        <source>Lossless, Every Pixel Exact</source>
        <translation>Verlustfrei, jedes Pixel genau</translation>
    </message>
    <message>
        <source>Smallest File, Same Pixels (Slower)</source>
        <translation>Kleinste Datei, gleiche Pixel (langsamer)</translation>
    </message>
    <message>
        <source>%1 Quality:</source>
        <translation>%1-Qualität:</translation>
    </message>
    <message>
        <source>LOW</source>
        <translation>NIEDRIG</translation>
    </message>
    <message>
        <source>HIGH</source>
        <translation>HOCH</translation>
    </message>
    <message>
        <source>%1 quality</source>
        <translation>%1-Qualität</translation>
    </message>
    <message>
        <source>Quality %1 of %2</source>
        <translation>Qualität %1 von %2</translation>
    </message>
    <message>
        <source>Include Blank Area Where Shadow Would Be</source>
        <translation>Leeren Bereich für den Schatten einschließen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>tabora::FontPopup</name>
    <message>
        <source>%1 (scalable)</source>
        <translation>%1 (skalierbar)</translation>
    </message>
    <message>
        <source>%1 (for %2)</source>
        <translation>%1 (für %2)</translation>
    </message>
</context>
<context>
    <name>tabora::PromptDialog</name>
    <message>
        <source>Tabora</source>
        <translation>Tabora</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Open Without Saving?</source>
        <translation>Öffnen ohne zu speichern?</translation>
    </message>
    <message>
        <source>Quit Without Saving?</source>
        <translation>Beenden ohne zu speichern?</translation>
    </message>
    <message>
        <source>Open a button file without saving your current button?</source>
        <translation>Eine Button-Datei öffnen, ohne den aktuellen Button zu speichern?</translation>
    </message>
    <message>
        <source>Quit without saving your current button?</source>
        <translation>Beenden, ohne den aktuellen Button zu speichern?</translation>
    </message>
    <message>
        <source>No, Don&apos;t Open</source>
        <translation>Nein, nicht öffnen</translation>
    </message>
    <message>
        <source>No, Don&apos;t Quit</source>
        <translation>Nein, nicht beenden</translation>
    </message>
    <message>
        <source>Yes, Open</source>
        <translation>Ja, öffnen</translation>
    </message>
    <message>
        <source>Yes, Quit</source>
        <translation>Ja, beenden</translation>
    </message>
</context>
<context>
    <name>tabora::TaboraWindow</name>
    <message>
        <source>no extension</source>
        <translation>keine Endung</translation>
    </message>
    <message>
        <source>Cannot save a button with %1: the extension must be %2, in any case</source>
        <translation>Ein Button mit %1 kann nicht gespeichert werden: Die Endung muss %2 lauten, in beliebiger Schreibweise</translation>
    </message>
    <message>
        <source>&amp;Clear Menu</source>
        <translation>Liste &amp;leeren</translation>
    </message>
    <message>
        <source>%1 holds no button settings, so there is nothing to open. Only pictures saved by Tabora can be opened for editing.</source>
        <translation>%1 enthält keine Button-Einstellungen und kann daher nicht geöffnet werden. Nur mit Tabora gespeicherte Bilder lassen sich zum Bearbeiten öffnen.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen …</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>Zuletzt &amp;geöffnet</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Speichern &amp;unter</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Tabora...</source>
        <translation>Ü&amp;ber Tabora …</translation>
    </message>
    <message>
        <source>Tabora: web buttons in a few clicks</source>
        <translation>Tabora: Web-Buttons mit wenigen Klicks</translation>
    </message>
    <message>
        <source>Button style archive</source>
        <translation>Archiv der Button-Stile</translation>
    </message>
    <message>
        <source>Drop shadow</source>
        <translation>Schlagschatten</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Farbton</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Choose a button from the list at the right</source>
        <translation>Wählen Sie rechts aus der Liste einen Button</translation>
    </message>
    <message>
        <source>Step %1</source>
        <translation>Schritt %1</translation>
    </message>
    <message>
        <source>Adjust color and brightness</source>
        <translation>Farbe und Helligkeit anpassen</translation>
    </message>
    <message>
        <source>Select a background color</source>
        <translation>Eine Hintergrundfarbe wählen</translation>
    </message>
    <message>
        <source>Check the box to add a drop-shadow</source>
        <translation>Kästchen ankreuzen für einen Schlagschatten</translation>
    </message>
    <message>
        <source>Type some text (optional)</source>
        <translation>Text eingeben (freiwillig)</translation>
    </message>
    <message>
        <source>Save your button</source>
        <translation>Button speichern</translation>
    </message>
    <message>
        <source>Text color</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>Antialias</source>
        <translation>Kantenglättung</translation>
    </message>
    <message>
        <source>Text shadow</source>
        <translation>Textschatten</translation>
    </message>
    <message>
        <source>Text placement</source>
        <translation>Textposition</translation>
    </message>
    <message>
        <source>Save as %1</source>
        <translation>Als %1 speichern</translation>
    </message>
    <message>
        <source>Background color</source>
        <translation>Hintergrundfarbe</translation>
    </message>
    <message>
        <source>Caption</source>
        <translation>Beschriftung</translation>
    </message>
    <message>
        <source>Button text</source>
        <translation>Button-Text</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Font style</source>
        <translation>Schriftstil</translation>
    </message>
    <message>
        <source>Regular</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>Bold Italic</source>
        <translation>Fett kursiv</translation>
    </message>
    <message>
        <source>Font size</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>Move text left</source>
        <translation>Text nach links</translation>
    </message>
    <message>
        <source>Move text up</source>
        <translation>Text nach oben</translation>
    </message>
    <message>
        <source>Move text right</source>
        <translation>Text nach rechts</translation>
    </message>
    <message>
        <source>Move text down</source>
        <translation>Text nach unten</translation>
    </message>
    <message>
        <source>Button preview</source>
        <translation>Vorschau des Buttons</translation>
    </message>
    <message>
        <source>: drawn as the font&apos;s box</source>
        <translation>: als Kästchen der Schrift gezeichnet</translation>
    </message>
    <message>
        <source>Arrow keys move between styles, Enter picks one</source>
        <translation>Pfeiltasten wechseln den Stil, die Eingabetaste wählt ihn</translation>
    </message>
    <message>
        <source>Widens or shrinks the button body</source>
        <translation>Verbreitert oder verkleinert den Button</translation>
    </message>
    <message>
        <source>Shifts the colour of the button body</source>
        <translation>Verschiebt die Farbe des Buttons</translation>
    </message>
    <message>
        <source>Lightens or darkens the button body</source>
        <translation>Hellt den Button auf oder dunkelt ihn ab</translation>
    </message>
    <message>
        <source>Chooses the colour behind the button</source>
        <translation>Wählt die Farbe hinter dem Button</translation>
    </message>
    <message>
        <source>Draws a shadow under the button</source>
        <translation>Zeichnet einen Schatten unter den Button</translation>
    </message>
    <message>
        <source>The text on the button</source>
        <translation>Der Text auf dem Button</translation>
    </message>
    <message>
        <source>The font of the caption</source>
        <translation>Die Schrift der Beschriftung</translation>
    </message>
    <message>
        <source>Regular, bold, italic or both</source>
        <translation>Normal, fett, kursiv oder beides</translation>
    </message>
    <message>
        <source>The caption&apos;s size in points</source>
        <translation>Die Größe der Beschriftung in Punkt</translation>
    </message>
    <message>
        <source>Chooses the colour of the caption</source>
        <translation>Wählt die Farbe der Beschriftung</translation>
    </message>
    <message>
        <source>Smooths the edges of the caption</source>
        <translation>Glättet die Kanten der Beschriftung</translation>
    </message>
    <message>
        <source>Draws a shadow under the caption</source>
        <translation>Zeichnet einen Schatten unter die Beschriftung</translation>
    </message>
    <message>
        <source>Moves the caption one pixel left</source>
        <translation>Schiebt die Beschriftung ein Pixel nach links</translation>
    </message>
    <message>
        <source>Moves the caption one pixel up</source>
        <translation>Schiebt die Beschriftung ein Pixel nach oben</translation>
    </message>
    <message>
        <source>Moves the caption one pixel right</source>
        <translation>Schiebt die Beschriftung ein Pixel nach rechts</translation>
    </message>
    <message>
        <source>Moves the caption one pixel down</source>
        <translation>Schiebt die Beschriftung ein Pixel nach unten</translation>
    </message>
    <message>
        <source>Saves the button as a %1 file, asking for its name</source>
        <translation>Speichert den Button als %1-Datei und fragt nach dem Namen</translation>
    </message>
    <message>
        <source>The button as it will be saved</source>
        <translation>Der Button, wie er gespeichert wird</translation>
    </message>
    <message>
        <source>Preview area</source>
        <translation>Vorschaubereich</translation>
    </message>
    <message>
        <source>The backdrop of the button preview</source>
        <translation>Der Hintergrund der Button-Vorschau</translation>
    </message>
    <message>
        <source>The button size in percent</source>
        <translation>Die Button-Größe in Prozent</translation>
    </message>
    <message>
        <source>The hue shift in degrees</source>
        <translation>Die Farbtonverschiebung in Grad</translation>
    </message>
    <message>
        <source>The brightness change in percent</source>
        <translation>Die Helligkeitsänderung in Prozent</translation>
    </message>
    <message>
        <source>%1 (shown with %2)</source>
        <translation>%1 (dargestellt mit %2)</translation>
    </message>
    <message>
        <source>States</source>
        <translation>Zustände</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Hover</source>
        <translation>Hover</translation>
    </message>
    <message>
        <source>Pressed</source>
        <translation>Gedrückt</translation>
    </message>
    <message>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Deaktiviert</translation>
    </message>
    <message>
        <source>&amp;State:</source>
        <translation>&amp;Zustand:</translation>
    </message>
    <message>
        <source>&amp;Reset State</source>
        <translation>Zu&amp;rücksetzen</translation>
    </message>
    <message>
        <source>Ring color</source>
        <translation>Ringfarbe</translation>
    </message>
    <message>
        <source>&amp;Opacity</source>
        <translation>Deck&amp;kraft</translation>
    </message>
    <message>
        <source>&amp;Try it</source>
        <translation>&amp;Ausprobieren</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>The state of the web button the controls edit: at rest, under the pointer, pressed, reached with Tab, or switched off</source>
        <translation>Der Zustand der Web-Schaltfläche, den die Regler bearbeiten: in Ruhe, unter dem Mauszeiger, gedrückt, mit Tab erreicht oder abgeschaltet</translation>
    </message>
    <message>
        <source>Reset state</source>
        <translation>Zustand zurücksetzen</translation>
    </message>
    <message>
        <source>Gives the chosen state its default look again</source>
        <translation>Gibt dem gewählten Zustand wieder sein vorgegebenes Aussehen</translation>
    </message>
    <message>
        <source>Focus ring color</source>
        <translation>Farbe des Fokusrings</translation>
    </message>
    <message>
        <source>Chooses the colour of the ring the focused button shows</source>
        <translation>Wählt die Farbe des Rings, den die fokussierte Schaltfläche zeigt</translation>
    </message>
    <message>
        <source>Opacity</source>
        <translation>Deckkraft</translation>
    </message>
    <message>
        <source>How opaque the disabled button is</source>
        <translation>Wie deckend die deaktivierte Schaltfläche ist</translation>
    </message>
    <message>
        <source>Try it</source>
        <translation>Ausprobieren</translation>
    </message>
    <message>
        <source>The preview answers the pointer and the keyboard as the web page will: point at it, press it, or Tab to it</source>
        <translation>Die Vorschau reagiert auf Maus und Tastatur wie die Webseite: darauf zeigen, darauf drücken oder mit Tab hingehen</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Automatic text color</source>
        <translation>Automatische Textfarbe</translation>
    </message>
    <message>
        <source>Makes the caption black or white, whichever reads better on the button</source>
        <translation>Macht die Beschriftung schwarz oder weiß, je nachdem, was auf der Schaltfläche besser lesbar ist</translation>
    </message>
    <message>
        <source>Also Save S&amp;tate Files</source>
        <translation>Auch &amp;Zustandsbilder speichern</translation>
    </message>
    <message>
        <source>Save writes a picture per state beside the button (home-hover.png, home-active.png, ...)</source>
        <translation>Speichern schreibt neben die Schaltfläche ein Bild je Zustand (home-hover.png, home-active.png, …)</translation>
    </message>
    <message>
        <source>Also Save S&amp;prite</source>
        <translation>Auch S&amp;prite speichern</translation>
    </message>
    <message>
        <source>Save writes every state in one picture, one under another (home-sprite.png)</source>
        <translation>Speichern schreibt alle Zustände untereinander in ein Bild (home-sprite.png)</translation>
    </message>
    <message>
        <source>Also Save &amp;CSS</source>
        <translation>Auch &amp;CSS speichern</translation>
    </message>
    <message>
        <source>Save writes a style sheet (home.css) with a rule per state, drawn from the sprite or the state files</source>
        <translation>Speichern schreibt ein Stylesheet (home.css) mit einer Regel je Zustand, aus dem Sprite oder den Zustandsbildern</translation>
    </message>
</context>
</TS>
