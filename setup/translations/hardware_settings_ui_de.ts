<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>FullEffectSettingsWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Axis 0</source>
        <translation>Achse 0</translation>
    </message>
    <message>
        <source>Motion range (degrees)</source>
        <translation>Bewegungsbereich (Grad)</translation>
    </message>
    <message>
        <source>Total effect strength (%)</source>
        <translation>Gesamte Effektstärke (%)</translation>
    </message>
    <message>
        <source>Integrated spring strength (%)</source>
        <translation>Stärke der integrierten Feder (%)</translation>
    </message>
    <message>
        <source>Soft stop strength (%)</source>
        <translation>Stärke des weichen Anschlags (%)</translation>
    </message>
    <message>
        <source>Soft stop range (degrees)</source>
        <translation>Bereich des weichen Anschlags (Grad)</translation>
    </message>
    <message>
        <source>Soft stop dampening (%)</source>
        <translation>Dämpfung des weichen Anschlags (%)</translation>
    </message>
    <message>
        <source>Static dampening (%)</source>
        <translation>Statische Dämpfung (%)</translation>
    </message>
    <message>
        <source>Dynamic dampening (%)</source>
        <translation>Dynamische Dämpfung (%)</translation>
    </message>
    <message>
        <source>Max force available (kg)</source>
        <translation>Maximal verfügbare Kraft (kg)</translation>
    </message>
    <message>
        <source>Axis 1</source>
        <translation>Achse 1</translation>
    </message>
    <message>
        <source>DirectX FFB</source>
        <translation>DirectX-Force-Feedback</translation>
    </message>
    <message>
        <source>Invert constant force</source>
        <translation>Konstante Kraft umkehren</translation>
    </message>
    <message>
        <source>Direct X spring forces strength (%)</source>
        <translation>Stärke der DirectX-Federkräfte (%)</translation>
    </message>
    <message>
        <source>Direct X constant forces strength (%)</source>
        <translation>Stärke der konstanten DirectX-Kräfte (%)</translation>
    </message>
    <message>
        <source>Direct X periodic forces strength (%)</source>
        <translation>Stärke der periodischen DirectX-Kräfte (%)</translation>
    </message>
    <message>
        <source>Force clipping mode</source>
        <translation>Art der Kraftbegrenzung</translation>
    </message>
    <message>
        <source>Relaxed</source>
        <translation>Weich</translation>
    </message>
    <message>
        <source>Raw</source>
        <translation>Roh</translation>
    </message>
</context>
<context>
    <name>FullHardwareSettingsWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Debug forces</source>
        <translation>Kräfte-Diagnose</translation>
    </message>
    <message>
        <source>Enable forces (Require reboot)</source>
        <translation>Kräfte einschalten (Neustart nötig)</translation>
    </message>
    <message>
        <source>Current sense gain (Require reboot)</source>
        <translation>Verstärkung der Strommessung (Neustart nötig)</translation>
    </message>
    <message>
        <source>80V/V</source>
        <translation>80 V/V</translation>
    </message>
    <message>
        <source>40V/V</source>
        <translation>40 V/V</translation>
    </message>
    <message>
        <source>20V/V</source>
        <translation>20 V/V</translation>
    </message>
    <message>
        <source>10V/V</source>
        <translation>10 V/V</translation>
    </message>
    <message>
        <source>Calibration (Require reboot)</source>
        <translation>Kalibrierung (Neustart nötig)</translation>
    </message>
    <message>
        <source>Axis 0</source>
        <translation>Achse 0</translation>
    </message>
    <message>
        <source>Invert joystick output</source>
        <translation>Joystick-Ausgabe umkehren</translation>
    </message>
    <message>
        <source>Invert force output</source>
        <translation>Kraftausgabe umkehren</translation>
    </message>
    <message>
        <source>Encoder CPR</source>
        <translation>Encoder-Schritte je Umdrehung</translation>
    </message>
    <message>
        <source>Pole pairs</source>
        <translation>Polpaare</translation>
    </message>
    <message>
        <source>P gain</source>
        <translation>P-Verstärkung</translation>
    </message>
    <message>
        <source>I gain</source>
        <translation>I-Verstärkung</translation>
    </message>
    <message>
        <source>Axis 1</source>
        <translation>Achse 1</translation>
    </message>
    <message>
        <source>Power limit (%)</source>
        <translation>Leistungsgrenze (%)</translation>
    </message>
    <message>
        <source>Calibration magnitude (%)</source>
        <translation>Kalibrierstärke (%)</translation>
    </message>
    <message>
        <source>Calibration speed (%)</source>
        <translation>Kalibriergeschwindigkeit (%)</translation>
    </message>
    <message>
        <source>Braking resistor limit (%)</source>
        <translation>Grenze des Bremswiderstands (%)</translation>
    </message>
    <message>
        <source>Speed sample buffer size</source>
        <translation>Puffergröße der Geschwindigkeitsmessung</translation>
    </message>
    <message>
        <source>Position smoothing (%)</source>
        <translation>Glättung der Position (%)</translation>
    </message>
</context>
<context>
    <name>GpioExtensionWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Enable reset center button on pin Z0 (Require reboot)</source>
        <translation>Taste zum Zurücksetzen der Mitte an Pin Z0 einschalten (Neustart nötig)</translation>
    </message>
    <message>
        <source>GPIO (Require reboot)</source>
        <translation>GPIO (Neustart nötig)</translation>
    </message>
    <message>
        <source>GPIO modes</source>
        <translation>GPIO-Modi</translation>
    </message>
    <message>
        <source>Pin 1</source>
        <translation>Pin 1</translation>
    </message>
    <message>
        <source>Pin 2</source>
        <translation>Pin 2</translation>
    </message>
    <message>
        <source>Pin 3</source>
        <translation>Pin 3</translation>
    </message>
    <message>
        <source>Pin 4</source>
        <translation>Pin 4</translation>
    </message>
    <message>
        <source>Pin 5</source>
        <translation>Pin 5</translation>
    </message>
    <message>
        <source>Pin 6</source>
        <translation>Pin 6</translation>
    </message>
    <message>
        <source>Pin 7</source>
        <translation>Pin 7</translation>
    </message>
    <message>
        <source>Pin 8</source>
        <translation>Pin 8</translation>
    </message>
    <message>
        <source>Encoder Z0</source>
        <translation>Encoder Z0</translation>
    </message>
    <message>
        <source>Encoder Z1</source>
        <translation>Encoder Z1</translation>
    </message>
    <message>
        <source>SPI extension</source>
        <translation>SPI-Erweiterung</translation>
    </message>
    <message>
        <source>SPI extension mode</source>
        <translation>Art der SPI-Erweiterung</translation>
    </message>
    <message>
        <source>SPI mode</source>
        <translation>SPI-Modus</translation>
    </message>
    <message>
        <source>Mode 0</source>
        <translation>Modus 0</translation>
    </message>
    <message>
        <source>Mode 1</source>
        <translation>Modus 1</translation>
    </message>
    <message>
        <source>Mode 2</source>
        <translation>Modus 2</translation>
    </message>
    <message>
        <source>Mode 3</source>
        <translation>Modus 3</translation>
    </message>
    <message>
        <source>Latch mode</source>
        <translation>Latch-Modus</translation>
    </message>
    <message>
        <source>Latch UP</source>
        <translation>Latch HOCH</translation>
    </message>
    <message>
        <source>Latch DOWN</source>
        <translation>Latch TIEF</translation>
    </message>
    <message>
        <source>Latch delay (microseconds)</source>
        <translation>Latch-Verzögerung (Mikrosekunden)</translation>
    </message>
    <message>
        <source>SCK pulse length (microseconds)</source>
        <translation>SCK-Pulslänge (Mikrosekunden)</translation>
    </message>
    <message>
        <source>No additional settings for Thrustmaster extension grips</source>
        <translation>Keine weiteren Einstellungen für Thrustmaster-Erweiterungsgriffe</translation>
    </message>
    <message>
        <source>No additional settings for VPC MT50 extension grip (WIP)</source>
        <translation>Keine weiteren Einstellungen für den Erweiterungsgriff VPC MT50 (in Arbeit)</translation>
    </message>
    <message>
        <source>No additional settings for VPC MT50 CM2 extension grip (WIP)</source>
        <translation>Keine weiteren Einstellungen für den Erweiterungsgriff VPC MT50 CM2 (in Arbeit)</translation>
    </message>
    <message>
        <source>No additional settings for VPC VXF extension grip (WIP)</source>
        <translation>Keine weiteren Einstellungen für den Erweiterungsgriff VPC VXF (in Arbeit)</translation>
    </message>
    <message>
        <source>No additional settings for VPC Alpha extension grip (WIP)</source>
        <translation>Keine weiteren Einstellungen für den Erweiterungsgriff VPC Alpha (in Arbeit)</translation>
    </message>
    <message>
        <source>No additional settings for VPC Alpha Prime extension grip (WIP)</source>
        <translation>Keine weiteren Einstellungen für den Erweiterungsgriff VPC Alpha Prime (in Arbeit)</translation>
    </message>
    <message>
        <source>No additional settings for VPC FLNKR extension grip</source>
        <translation>Keine weiteren Einstellungen für den Erweiterungsgriff VPC FLNKR</translation>
    </message>
    <message>
        <source>No additional settings for VPC Ka-50 extension grip (WIP)</source>
        <translation>Keine weiteren Einstellungen für den Erweiterungsgriff VPC Ka-50 (in Arbeit)</translation>
    </message>
    <message>
        <source>No additional settings for VPC UH-60 extension grip (WIP)</source>
        <translation>Keine weiteren Einstellungen für den Erweiterungsgriff VPC UH-60 (in Arbeit)</translation>
    </message>
    <message>
        <source>No additional settings for VPC Apache 64 extension grip (WIP)</source>
        <translation>Keine weiteren Einstellungen für den Erweiterungsgriff VPC Apache 64 (in Arbeit)</translation>
    </message>
    <message>
        <source>No additional settings for TIANHANG F18 grip</source>
        <translation>Keine weiteren Einstellungen für den Griff TIANHANG F18</translation>
    </message>
    <message>
        <source>Button modes</source>
        <translation>Tastenmodi</translation>
    </message>
    <message>
        <source>Gpio buttons</source>
        <translation>GPIO-Tasten</translation>
    </message>
    <message>
        <source>Button 1</source>
        <translation>Taste 1</translation>
    </message>
    <message>
        <source>Button 2</source>
        <translation>Taste 2</translation>
    </message>
    <message>
        <source>Button 3</source>
        <translation>Taste 3</translation>
    </message>
    <message>
        <source>Button 4</source>
        <translation>Taste 4</translation>
    </message>
    <message>
        <source>Button 5</source>
        <translation>Taste 5</translation>
    </message>
    <message>
        <source>Button 6</source>
        <translation>Taste 6</translation>
    </message>
    <message>
        <source>Button 7</source>
        <translation>Taste 7</translation>
    </message>
    <message>
        <source>Button 8</source>
        <translation>Taste 8</translation>
    </message>
    <message>
        <source>Shift register 1</source>
        <translation>Schieberegister 1</translation>
    </message>
    <message>
        <source>Button 9</source>
        <translation>Taste 9</translation>
    </message>
    <message>
        <source>Button 10</source>
        <translation>Taste 10</translation>
    </message>
    <message>
        <source>Button 11</source>
        <translation>Taste 11</translation>
    </message>
    <message>
        <source>Button 12</source>
        <translation>Taste 12</translation>
    </message>
    <message>
        <source>Button 13</source>
        <translation>Taste 13</translation>
    </message>
    <message>
        <source>Button 14</source>
        <translation>Taste 14</translation>
    </message>
    <message>
        <source>Button 15</source>
        <translation>Taste 15</translation>
    </message>
    <message>
        <source>Button 16</source>
        <translation>Taste 16</translation>
    </message>
    <message>
        <source>Shift register 2</source>
        <translation>Schieberegister 2</translation>
    </message>
    <message>
        <source>Button 17</source>
        <translation>Taste 17</translation>
    </message>
    <message>
        <source>Button 18</source>
        <translation>Taste 18</translation>
    </message>
    <message>
        <source>Button 19</source>
        <translation>Taste 19</translation>
    </message>
    <message>
        <source>Button 20</source>
        <translation>Taste 20</translation>
    </message>
    <message>
        <source>Button 21</source>
        <translation>Taste 21</translation>
    </message>
    <message>
        <source>Button 22</source>
        <translation>Taste 22</translation>
    </message>
    <message>
        <source>Button 23</source>
        <translation>Taste 23</translation>
    </message>
    <message>
        <source>Button 24</source>
        <translation>Taste 24</translation>
    </message>
    <message>
        <source>Shift register 3</source>
        <translation>Schieberegister 3</translation>
    </message>
    <message>
        <source>Button 25</source>
        <translation>Taste 25</translation>
    </message>
    <message>
        <source>Button 26</source>
        <translation>Taste 26</translation>
    </message>
    <message>
        <source>Button 27</source>
        <translation>Taste 27</translation>
    </message>
    <message>
        <source>Button 28</source>
        <translation>Taste 28</translation>
    </message>
    <message>
        <source>Button 29</source>
        <translation>Taste 29</translation>
    </message>
    <message>
        <source>Button 30</source>
        <translation>Taste 30</translation>
    </message>
    <message>
        <source>Button 31</source>
        <translation>Taste 31</translation>
    </message>
    <message>
        <source>Button 32</source>
        <translation>Taste 32</translation>
    </message>
    <message>
        <source>Analog axes</source>
        <translation>Analoge Achsen</translation>
    </message>
    <message>
        <source>Lower dead zone</source>
        <translation>Untere Totzone</translation>
    </message>
    <message>
        <source>Upper dead zone</source>
        <translation>Obere Totzone</translation>
    </message>
    <message>
        <source>Smoothing (%)</source>
        <translation>Glättung (%)</translation>
    </message>
    <message>
        <source>Button low (%)</source>
        <translation>Tastenschwelle unten (%)</translation>
    </message>
    <message>
        <source>Button high (%)</source>
        <translation>Tastenschwelle oben (%)</translation>
    </message>
    <message>
        <source>Rx</source>
        <translation>Rx</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>Umkehren</translation>
    </message>
    <message>
        <source>Ry</source>
        <translation>Ry</translation>
    </message>
    <message>
        <source>Rz</source>
        <translation>Rz</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Deaktiviert</translation>
    </message>
    <message>
        <source>Generic button</source>
        <translation>Allgemeine Taste</translation>
    </message>
    <message>
        <source>Analog</source>
        <translation>Analog</translation>
    </message>
    <message>
        <source>SPI CS</source>
        <translation>SPI CS</translation>
    </message>
    <message>
        <source>SPI SCK</source>
        <translation>SPI SCK</translation>
    </message>
    <message>
        <source>SPI MISO</source>
        <translation>SPI MISO</translation>
    </message>
    <message>
        <source>Enable effects switch</source>
        <translation>Schalter für Effekte</translation>
    </message>
    <message>
        <source>Reset center button</source>
        <translation>Taste zum Zurücksetzen der Mitte</translation>
    </message>
    <message>
        <source>Braking PWM</source>
        <translation>Brems-PWM</translation>
    </message>
    <message>
        <source>Effect LED</source>
        <translation>Effekt-LED</translation>
    </message>
    <message>
        <source>Reboot</source>
        <translation>Neustart</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Benutzerdefiniert</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Inverted</source>
        <translation>Umgekehrt</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>No compatible devices connected</source>
        <translation>Keine passenden Geräte angeschlossen</translation>
    </message>
    <message>
        <source>Effects</source>
        <translation>Effekte</translation>
    </message>
    <message>
        <source>Periphery</source>
        <translation>Peripherie</translation>
    </message>
    <message>
        <source>Controller</source>
        <translation>Steuerung</translation>
    </message>
    <message>
        <source>Save and reboot</source>
        <translation>Speichern und neu starten</translation>
    </message>
    <message>
        <source>Switch to DFU mode</source>
        <translation>In den DFU-Modus wechseln</translation>
    </message>
    <message>
        <source>Reboot controller</source>
        <translation>Steuerung neu starten</translation>
    </message>
    <message>
        <source>Select compatible device (</source>
        <translation>Passendes Gerät wählen (</translation>
    </message>
    <message>
        <source> connected)</source>
        <translation> angeschlossen)</translation>
    </message>
    <message>
        <source>**New version of Torquix Setup is available!**</source>
        <translation>**Eine neue Version von Torquix Setup ist erschienen!**</translation>
    </message>
    <message>
        <source>Download and update</source>
        <translation>Herunterladen und aktualisieren</translation>
    </message>
</context>
<context>
    <name>QComboBox</name>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Calibration start angle as the center</source>
        <translation>Startwinkel der Kalibrierung als Mitte</translation>
    </message>
    <message>
        <source>Automatic center of range search</source>
        <translation>Mitte des Bereichs automatisch suchen</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Show Details...</source>
        <translation>Details zeigen …</translation>
    </message>
    <message>
        <source>Hide Details...</source>
        <translation>Details verbergen …</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>RawProfileFolder</name>
    <message>
        <source>only %1 of %2 bytes were written (is the disk full?)</source>
        <translation>nur %1 von %2 Bytes wurden geschrieben (ist der Datenträger voll?)</translation>
    </message>
    <message>
        <source>the name is no file name on Windows</source>
        <translation>der Name ist unter Windows kein Dateiname</translation>
    </message>
    <message>
        <source>it is a link, and nothing is written through a link</source>
        <translation>es ist eine Verknüpfung, und durch eine Verknüpfung wird nichts geschrieben</translation>
    </message>
    <message>
        <source>it is not a plain file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>you have no permission to change it</source>
        <translation>Ihnen fehlt die Berechtigung, es zu ändern</translation>
    </message>
    <message>
        <source>the settings are not %1 bytes</source>
        <translation>die Einstellungen sind nicht %1 Bytes groß</translation>
    </message>
    <message>
        <source>the profile folder cannot be made or entered</source>
        <translation>der Profilordner kann nicht angelegt oder geöffnet werden</translation>
    </message>
    <message>
        <source>the name is empty</source>
        <translation>der Name ist leer</translation>
    </message>
    <message>
        <source>the name leads out of the profile folder</source>
        <translation>der Name führt aus dem Profilordner hinaus</translation>
    </message>
    <message>
        <source>names starting with a dot are kept for temporary files</source>
        <translation>Namen, die mit einem Punkt beginnen, sind temporären Dateien vorbehalten</translation>
    </message>
</context>
<context>
    <name>SettingsPage</name>
    <message>
        <source>Save profile</source>
        <translation>Profil speichern</translation>
    </message>
    <message>
        <source>The profile could not be saved as &quot;%1&quot;: %2</source>
        <translation>Das Profil konnte nicht als „%1“ gespeichert werden: %2</translation>
    </message>
</context>
</TS>
