// The Qt headers most of the program's files include, read once and precompiled for every
// target that uses Qt Widgets (see veligram_precompile_headers).
#include "gui.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>
