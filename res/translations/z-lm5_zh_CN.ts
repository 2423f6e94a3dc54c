<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>zlm5::AboutDialog</name>
    <message>
        <source>Version %1
Copyright © 2026 VRAX Electronics.
Free software under the GNU General Public License, version 3 or later.
There is NO WARRANTY, to the extent permitted by law.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About VRAX</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zlm5::App</name>
    <message>
        <source>Failed to open document.

%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zlm5::HelpWindow</name>
    <message>
        <source>Z-LM5 Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Type the first few letters of the word:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Index</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zlm5::MainFrame</name>
    <message>
        <source>&amp;New	Ctrl+N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create a new document
New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open...	Ctrl+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open an existing document
Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save	Ctrl+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the active document
Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the active document with a new name
Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print...	Ctrl+P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the active document
Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display full pages
Print Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the printer and printing options
Print Setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import Channels...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import channels from a CSV channel list
Import Channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export Channels...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export the channels to a CSV channel list
Export Channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents
Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo the last change
Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo the change that was undone
Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut the selected channels to the clipboard
Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy the selected channels to the clipboard
Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste channels from the clipboard from the selected channel on
Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Insert Empty Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert an empty channel; the channels below move down
Insert Empty Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete Channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the selected channels; the channels below move up
Delete Channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mo&amp;ve Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the selected channels up by one
Move Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Do&amp;wn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the selected channels down by one
Move Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;lear Channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Empty the selected channels
Clear Channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Read From Radio	Ctrl+R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Data From Radio
Read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Write To Radio	Ctrl+W</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Data to Radio 
Write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit Data	Ctrl+E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit channel Data 
Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Optional Features	Ctrl+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set the rest  functional features for the interphone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High Power Debug</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low Power Debug</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM1(&amp;P)	Ctrl+C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Communication Port one 
Com1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM2(&amp;Q)	Ctrl+D</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Communication Port two 
Com2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM3(&amp;S)	Ctrl+E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Communication Port three 
Com3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM4(&amp;T)	Ctrl+F</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Communication Port four 
Com4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show or hide the toolbar
Toggle ToolBar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show or hide the status bar
Toggle StatusBar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;English Texts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use the English texts for messages and the printed report
English Texts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List Help topics
Help Topics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About VRAX-3.0...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display program information, version number and copyright
About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display help for clicked on buttons, menus and windows
Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display help for current task or command
Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Pane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch to the next window pane
Next Pane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous Pane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch back to the previous window pane
Previous Pane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Debug on line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Debug TX Power,Squelch Level,Low Power Alert
Debug on line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;ort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open this document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>For Help，Please Press F1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A new document, not saved yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The channel data has unsaved changes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel Lists (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to save document.

%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zlm5::PrintController</name>
    <message>
        <source>the printer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the printer cannot be opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>printing failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zlm5::app_names</name>
    <message>
        <source>Channel Data (*.sin)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
