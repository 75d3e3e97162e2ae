// Resource and control identifiers of every window, in one place so that
// each stays unique. Names follow the controls they stand for.
#pragma once

#define IDI_MORVIDO 1

#define IDC_STATIC_TEXT -1

// Main window (TForm1). Every menu item, shortcut and toolbar button sends
// its command id; the toolbar buttons use the command id as control id, so
// one table serves all three.
#define IDM_RELOAD 100
#define IDM_COMMIT 101
#define IDM_EXPORT_SELECTED 102
#define IDM_EXPORT_CHANGES 103
#define IDM_CLOSE 104
#define IDM_EDIT 105
#define IDM_ADD 106
#define IDM_DELETE 107
#define IDM_VIEW_LARGE_ICONS 108
#define IDM_VIEW_SMALL_ICONS 109
#define IDM_VIEW_LIST 110
#define IDM_VIEW_REPORT 111
#define IDM_SORT_EXTENSION 112
#define IDM_SORT_CONTENT_TYPE 113
#define IDM_SORT_CREATOR 114
#define IDM_SORT_KIND 115
#define IDM_SORT_PROGRAM 116
#define IDM_HELP 117
#define IDM_ABOUT 118
#define IDM_EXPORT_DEFAULTS 119
#define IDM_RELEASE_CHOICE 130
#define IDM_TARGET_USER 131
#define IDM_TARGET_MACHINE 132
#define IDM_SORT_ORIGIN 133
#define IDM_SORT_CHOICE 134
#define IDM_RESTART_ELEVATED 135
#define IDM_IMPORT_SCRIPT 136
#define IDM_VIEW_PROTOCOLS 137

#define IDC_FORM1_PANEL1 150
#define IDC_FORM1_PANEL2 151
#define IDC_FORM1_GROUPBOX1 152
#define IDC_FORM1_IMAGE1 153
#define IDC_FORM1_LABEL1 154
#define IDC_FORM1_LABEL2 155
#define IDC_FORM1_LABEL3 156
#define IDC_FORM1_LABEL4 157
#define IDC_FORM1_LABEL5 158
#define IDC_FORM1_LABEL6 159
#define IDC_FORM1_LISTVIEW1 160
#define IDC_FORM1_STATUSBAR1 161
#define IDC_FORM1_LABEL7 162
#define IDC_FORM1_LABEL8 163
#define IDC_FORM1_LABEL9 164

// Pictures of the main window: toolbar glyphs, placeholder and deleted marker.
#define IDI_GLYPH_SAVE_ALL 200
#define IDI_GLYPH_LARGE_ICONS 201
#define IDI_GLYPH_SMALL_ICONS 202
#define IDI_GLYPH_LIST 203
#define IDI_GLYPH_REPORT 204
#define IDI_GLYPH_RELOAD 205
#define IDI_GLYPH_COMMIT 206
#define IDI_GLYPH_EDIT 207
#define IDI_GLYPH_ADD 208
#define IDI_GLYPH_DELETE 209
#define IDI_GLYPH_ABOUT 210
#define IDI_GLYPH_EXIT 211
#define IDI_IMAGE2 220
#define IDI_IMAGE3 221

// Progress window (TForm3).
#define IDD_FORM3 300
#define IDC_FORM3_IMAGE1 301
#define IDC_FORM3_LABEL1 302
#define IDC_FORM3_PROGRESSBAR1 303

// About window (TForm6); the picture comes in two sizes for 100 % and 200 %.
#define IDD_FORM6 600
#define IDC_FORM6_IMAGE1 601
#define IDB_ABOUT 610
#define IDB_ABOUT_2X 611

// Association dialog in its three variants (TForm5 edit, TForm10 delete,
// TForm11 add): one frame with the page control and the two buttons, and
// one template per page. Button2 and Button3 carry the dialog manager's own
// ids, so Enter and Escape reach them.
#define IDD_ASSOCIATION 500
#define IDD_ASSOCIATION_PAGE1 501
#define IDD_ASSOCIATION_PAGE2 502
#define IDD_ASSOCIATION_PAGE3 503
#define IDD_ASSOCIATION_PAGE4 504
#define IDC_ASSOC_PAGECONTROL2 510
#define IDC_ASSOC_BUTTON2 IDOK
#define IDC_ASSOC_BUTTON3 IDCANCEL
#define IDC_ASSOC_EDIT10 520
#define IDC_ASSOC_EDIT2 521
#define IDC_ASSOC_IMAGE1 522
#define IDC_ASSOC_EDIT9 523
#define IDC_ASSOC_BUTTON6 524
#define IDC_ASSOC_EDIT3 525
#define IDC_ASSOC_LABEL12 526
#define IDC_ASSOC_EDIT1 527
#define IDC_ASSOC_BUTTON1 528
#define IDC_ASSOC_LISTVIEW1 529
#define IDC_ASSOC_EDIT4 530
#define IDC_ASSOC_BUTTON4 531
#define IDC_ASSOC_CHECKBOX1 532
#define IDC_ASSOC_GROUPBOX3 533
#define IDC_ASSOC_EDIT5 534
#define IDC_ASSOC_EDIT6 535
#define IDC_ASSOC_EDIT8 536
#define IDC_ASSOC_EDIT7 537
#define IDC_ASSOC_LABEL_EDIT5 540
#define IDC_ASSOC_LABEL_EDIT6 541
#define IDC_ASSOC_LABEL_EDIT8 542
#define IDC_ASSOC_LABEL_EDIT7 543
// Page 1's line that says why the dialog is read-only.
#define IDC_ASSOC_LABEL_LOCKED 544
// Page 1's texts that name an extension, which a scheme shows otherwise.
#define IDC_ASSOC_GROUP_NAME 551
#define IDC_ASSOC_LABEL_NAME 552
#define IDC_ASSOC_GROUP_CREATOR 553
#define IDC_ASSOC_GROUP_EXTENSIONS 554
#define IDC_ASSOC_LABEL_CREATOR 555
// Page 4: the verbs, the line under them, and their buttons.
#define IDC_ASSOC_LISTVIEW2 545
#define IDC_ASSOC_LABEL13 546
#define IDC_ASSOC_BUTTON7 547
#define IDC_ASSOC_BUTTON8 548
#define IDC_ASSOC_BUTTON9 549
#define IDC_ASSOC_BUTTON10 550

// Verb dialog (TForm8).
#define IDD_FORM8 800
#define IDC_FORM8_EDIT1 801
#define IDC_FORM8_EDIT2 802
#define IDC_FORM8_LABEL1 803
#define IDC_FORM8_EDIT3 804
#define IDC_FORM8_BUTTON1 805
#define IDC_FORM8_CHECKBOX1 806
#define IDC_FORM8_GROUPBOX1 807
#define IDC_FORM8_EDIT4 808
#define IDC_FORM8_EDIT5 809
#define IDC_FORM8_EDIT6 810
#define IDC_FORM8_EDIT7 811
#define IDC_FORM8_LABEL_EDIT4 812
#define IDC_FORM8_LABEL_EDIT5 813
#define IDC_FORM8_LABEL_EDIT6 814
#define IDC_FORM8_LABEL_EDIT7 815
#define IDC_FORM8_CHECKBOX2 816

// Creator chooser (TForm7).
#define IDD_FORM7 700
#define IDC_FORM7_LISTVIEW1 701
#define IDC_FORM7_BUTTON1 IDOK
#define IDC_FORM7_BUTTON2 IDCANCEL

// Choice of the default associations file (TForm12).
#define IDD_FORM12 1200
#define IDC_FORM12_RADIOBUTTON1 1201
#define IDC_FORM12_RADIOBUTTON2 1202
#define IDC_FORM12_EDIT1 1203
#define IDC_FORM12_CHECKBOX1 1204
#define IDC_FORM12_CHECKBOX2 1205
#define IDC_FORM12_CHECKBOX3 1206
#define IDC_FORM12_EDIT2 1207
