// SPDX-License-Identifier: MIT

#include "editor/properties_dialog.h"

#include "controls/fonts.h"
#include "controls/system_colors.h"
#include "editor/color_swatch.h"
#include "editor/memo_lines.h"
#include "editor/stored_text.h"
#include "editor/value_conversions.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace zr {

namespace {

constexpr int kHeaderHeight = 25;
constexpr int kCommonControlX = 110;
constexpr int kPageControlX = 106;
constexpr int kPaneMargin = 8;
constexpr int kLabelGap = 6;
constexpr int kSchedulePaneWidth = 281;
constexpr int kPageAreaHeight = 165;
constexpr int kPageControlWidth = 130;
constexpr int kHeaderIndent = kPaneMargin - 2;
constexpr int kGridRowSpacing = 5;
constexpr QSize kDialogSize(654, 399);
constexpr int kStatusBarHeight = 19;
constexpr int kTextFieldWidth = 235;
constexpr int kMemoHeight = 137;
constexpr QSize kColorSwatchSize(25, 17);
constexpr int kAudioFileEditWidth = 179;
constexpr int kBrowseButtonWidth = 49;
constexpr int kAudioFileRowSpacing = 7;
constexpr int kWeeklyDaysListHeight = 105;
constexpr int kMonthlyDaysListHeight = 121;
constexpr int kButtonBarHeight = 32;
constexpr int kButtonSpacing = 8;
constexpr QSize kButtonSize(75, 25);
// Room for the title bar and the frame the window manager adds around the dialog.
constexpr QSize kWindowFrameAllowance(16, 40);

const QStringList kWeekdayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                "Thursday", "Friday", "Saturday"};
const QStringList kMonthNames{"January",   "February", "March",    "April",
                              "May",       "June",     "July",     "August",
                              "September", "October",  "November", "December"};
const QDate kInitialOnceDate(2003, 9, 20);

// The kinds in the order of their values, which is the order of the pages.
QStringList kindNames() {
  QStringList names;
  for (const ReminderType kind : {ReminderType::Once, ReminderType::Daily, ReminderType::Weekly,
                                  ReminderType::Monthly, ReminderType::Yearly}) {
    const std::string_view name = reminderTypeName(kind);
    names.append(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  }
  return names;
}

QLabel* createHeader(const QString& caption) {
  auto* header = new QLabel(caption);
  header->setFixedHeight(scaled(kHeaderHeight));
  header->setFrameStyle(QFrame::Panel | QFrame::Raised);
  header->setIndent(kHeaderIndent);
  QFont font = header->font();
  font.setBold(true);
  header->setFont(font);
  return header;
}

// A label column followed by a control column that starts at controlX.
QGridLayout* createFormGrid(int controlX) {
  auto* grid = new QGridLayout;
  grid->setContentsMargins(kPaneMargin, kPaneMargin, kPaneMargin, kPaneMargin);
  grid->setHorizontalSpacing(kLabelGap);
  grid->setVerticalSpacing(kGridRowSpacing);
  grid->setColumnMinimumWidth(0, controlX - kPaneMargin - kLabelGap);
  grid->setColumnStretch(2, 1);
  return grid;
}

// The caption without its access-key marker and its colon: "Na&me:" gives "Name".
QString accessibleCaption(const QString& caption) {
  QString name = caption;
  name.remove(u'&');
  if (name.endsWith(u':'))
    name.chop(1);
  return name;
}

// A caption in the label column for the control in the control column: the caption is
// the control's label, so its access key moves the focus there and assistive tools
// read the caption as the control's name. `focused` is the control that takes the
// focus when it is not `control` itself.
void addRow(QGridLayout& grid, const QString& caption, QWidget* control,
            Qt::Alignment labelAlignment = Qt::AlignVCenter, QWidget* focused = nullptr) {
  const int row = grid.rowCount();
  if (!caption.isEmpty()) {
    auto* label = new QLabel(caption);
    QWidget* buddy = focused ? focused : control;
    label->setBuddy(buddy);
    if (buddy->accessibleName().isEmpty())
      buddy->setAccessibleName(accessibleCaption(caption));
    grid.addWidget(label, row, 0, Qt::AlignLeft | labelAlignment);
  }
  grid.addWidget(control, row, 1, Qt::AlignLeft);
}

void addTopAlignedRow(QGridLayout& grid, const QString& caption, QWidget* control) {
  addRow(grid, caption, control, Qt::AlignTop);
}

QComboBox* createDropDownList(const QStringList& items, const QString& name) {
  auto* combo = new QComboBox;
  combo->setObjectName(name);
  combo->addItems(items);
  combo->setCurrentIndex(-1);
  combo->setFixedWidth(scaled(kPageControlWidth));
  return combo;
}

QListWidget* createCheckList(const QStringList& items, int height, const QString& name) {
  auto* list = new QListWidget;
  list->setObjectName(name);
  for (const QString& text : items) {
    auto* item = new QListWidgetItem(text, list);
    item->setCheckState(Qt::Unchecked);
  }
  list->setFixedSize(scaled(kPageControlWidth), height);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return list;
}

// Item i stands for member i + 1 of the set.
void tickDays(QListWidget& list, const DaySet& days) {
  for (int i = 0; i < list.count(); ++i)
    list.item(i)->setCheckState(days.test(static_cast<std::size_t>(i) + 1) ? Qt::Checked
                                                                           : Qt::Unchecked);
}

DaySet tickedDays(const QListWidget& list) {
  DaySet days;
  for (int i = 0; i < list.count(); ++i)
    days.set(static_cast<std::size_t>(i) + 1, list.item(i)->checkState() == Qt::Checked);
  return days;
}

// Widens a check list beyond the usual control width where its longest item
// would otherwise be cut off in the dialog's font.
void fitWidthToItems(QListWidget& list) {
  const int needed = list.sizeHintForColumn(0) + 2 * list.frameWidth() +
                     list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
  list.setFixedWidth(std::max(scaled(kPageControlWidth), needed));
}

// Makes a check list tall enough to show every item without scrolling.
void fitHeightToItems(QListWidget& list) {
  const int needed = list.count() * list.sizeHintForRow(0) + 2 * list.frameWidth();
  list.setFixedHeight(std::max(list.height(), needed));
}

QWidget* createPage(QGridLayout* grid) {
  auto* page = new QWidget;
  grid->setRowStretch(grid->rowCount(), 1);
  page->setLayout(grid);
  return page;
}

} // namespace

PropertiesDialog::PropertiesDialog(Reminder& editedReminder, QWidget* parent)
    : QDialog(parent), editedReminder_(editedReminder) {
  setWindowTitle("Properties");
  // The keyboard focus is drawn from the first key, not only after a Tab.
  setAttribute(Qt::WA_KeyboardFocusChange);
  setFont(formFont());

  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(createCommonPane());
  splitter->addWidget(createSchedulePane());
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 0);

  auto* statusBar = new QStatusBar;
  statusBar->setFixedHeight(scaled(kStatusBarHeight));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  // On a screen too small for the dialog (a large font, a high scale factor) the panes
  // scroll, while OK and Cancel stay in sight below them.
  auto* scroller = new QScrollArea;
  scroller->setObjectName("paneScroller");
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  // Tab goes to the controls, and the area scrolls to the one that has the focus.
  scroller->setFocusPolicy(Qt::NoFocus);
  scroller->setWidget(splitter);
  layout->addWidget(scroller, 1);
  layout->addWidget(createButtonBar());
  layout->addWidget(statusBar);

  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const QRect available = screen->availableGeometry();
  resize(scaled(kDialogSize).boundedTo(available.size() - kWindowFrameAllowance));
  splitter->setSizes(
      {scaled(kDialogSize).width() - scaled(kSchedulePaneWidth) - splitter->handleWidth(),
       scaled(kSchedulePaneWidth)});
  QRect placement(QPoint(), size());
  placement.moveCenter(available.center());
  move(placement.topLeft());

  // Only now do the lists have the dialog's font.
  fitWidthToItems(*weeklyDaysList_);
  fitHeightToItems(*weeklyDaysList_);
  fitWidthToItems(*monthlyDaysList_);
  showReminder();
}

QWidget* PropertiesDialog::createCommonPane() {
  nameEdit_ = new QLineEdit;
  nameEdit_->setObjectName("nameEdit");
  nameEdit_->setFixedWidth(scaled(kTextFieldWidth));
  nameEdit_->setValidator(new SingleLineValidator(nameEdit_));

  textMemo_ = new QPlainTextEdit;
  textMemo_->setObjectName("textMemo");
  textMemo_->setFixedSize(scaled(kTextFieldWidth), scaled(kMemoHeight));
  textMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textMemo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // Tab goes on to the next control; Ctrl+Tab types a tab (see eventFilter).
  textMemo_->setTabChangesFocus(true);
  textMemo_->installEventFilter(this);

  enabledCheck_ = new QCheckBox("&Enabled");
  enabledCheck_->setObjectName("enabledCheck");

  colorSwatch_ = new ColorSwatch;
  colorSwatch_->setObjectName("colorSwatch");
  colorSwatch_->setFixedSize(scaled(kColorSwatchSize));
  connect(colorSwatch_, &ColorSwatch::clicked, this, &PropertiesDialog::chooseColor);

  audioFileEdit_ = new QLineEdit;
  audioFileEdit_->setObjectName("audioFileEdit");
  audioFileEdit_->setFixedWidth(scaled(kAudioFileEditWidth));
  audioFileEdit_->setValidator(new SingleLineValidator(audioFileEdit_));
  auto* browseButton = new QPushButton("&Browse");
  browseButton->setObjectName("browseButton");
  browseButton->setFixedWidth(scaled(kBrowseButtonWidth));
  browseButton->setAutoDefault(false);
  connect(browseButton, &QPushButton::clicked, this, &PropertiesDialog::browseAudioFile);
  auto* audioFileRow = new QWidget;
  auto* audioFileLayout = new QHBoxLayout(audioFileRow);
  audioFileLayout->setContentsMargins(0, 0, 0, 0);
  audioFileLayout->setSpacing(kAudioFileRowSpacing);
  audioFileLayout->addWidget(audioFileEdit_);
  audioFileLayout->addWidget(browseButton);

  typeCombo_ = createDropDownList(kindNames(), "typeCombo");
  connect(typeCombo_, &QComboBox::currentIndexChanged, this, &PropertiesDialog::showKindPage);

  timeEdit_ = new QTimeEdit;
  timeEdit_->setObjectName("timeEdit");
  timeEdit_->setFixedWidth(scaled(kPageControlWidth));

  QGridLayout* grid = createFormGrid(scaled(kCommonControlX));
  addRow(*grid, "&Name:", nameEdit_);
  addTopAlignedRow(*grid, "&Text:", textMemo_);
  addRow(*grid, QString(), enabledCheck_);
  addRow(*grid, "&Color:", colorSwatch_);
  addRow(*grid, "&Audio File:", audioFileRow, Qt::AlignVCenter, audioFileEdit_);
  addRow(*grid, "Ty&pe:", typeCombo_);
  addRow(*grid, "T&ime:", timeEdit_);
  grid->setRowStretch(grid->rowCount(), 1);

  auto* pane = new QWidget;
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(createHeader("Common Options"));
  layout->addLayout(grid, 1);
  return pane;
}

QWidget* PropertiesDialog::createSchedulePane() {
  // One page per kind, in kind order; there are no tabs, the type box picks the page.
  kindPages_ = new QStackedWidget;
  kindPages_->setObjectName("kindPages");
  kindPages_->setFixedHeight(scaled(kPageAreaHeight));
  kindPages_->addWidget(createOncePage());
  kindPages_->addWidget(createPage(createFormGrid(scaled(kPageControlX))));
  kindPages_->addWidget(createWeeklyPage());
  kindPages_->addWidget(createMonthlyPage());
  kindPages_->addWidget(createYearlyPage());

  auto* pane = new QWidget;
  pane->setMinimumWidth(scaled(kPageControlX) + scaled(kPageControlWidth) + kPaneMargin);
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(createHeader("Additional Scheduling Options"));
  layout->addWidget(kindPages_);
  layout->addStretch(1);
  return pane;
}

QWidget* PropertiesDialog::createOncePage() {
  onceDateEdit_ = new QDateEdit(kInitialOnceDate);
  onceDateEdit_->setObjectName("onceDateEdit");
  onceDateEdit_->setMinimumDate(toQDate(0));
  onceDateEdit_->setCalendarPopup(true);
  onceDateEdit_->setFixedWidth(scaled(kPageControlWidth));
  QGridLayout* grid = createFormGrid(scaled(kPageControlX));
  addRow(*grid, "&Date:", onceDateEdit_);
  return createPage(grid);
}

QWidget* PropertiesDialog::createWeeklyPage() {
  weeklyDaysList_ = createCheckList(kWeekdayNames, scaled(kWeeklyDaysListHeight), "weeklyDaysList");
  QGridLayout* grid = createFormGrid(scaled(kPageControlX));
  addTopAlignedRow(*grid, "Days Of &Week:", weeklyDaysList_);
  return createPage(grid);
}

QWidget* PropertiesDialog::createMonthlyPage() {
  QStringList days;
  for (int day = 1; day <= 31; ++day)
    days.append(QString::number(day));
  days.append("Last Day Of Month");
  monthlyDaysList_ = createCheckList(days, scaled(kMonthlyDaysListHeight), "monthlyDaysList");
  QGridLayout* grid = createFormGrid(scaled(kPageControlX));
  addTopAlignedRow(*grid, "Days Of M&onth:", monthlyDaysList_);
  return createPage(grid);
}

QWidget* PropertiesDialog::createYearlyPage() {
  QStringList days;
  for (int day = 1; day <= 31; ++day)
    days.append(QString::number(day));
  yearlyMonthCombo_ = createDropDownList(kMonthNames, "yearlyMonthCombo");
  yearlyDayCombo_ = createDropDownList(days, "yearlyDayCombo");
  QGridLayout* grid = createFormGrid(scaled(kPageControlX));
  addRow(*grid, "&Month:", yearlyMonthCombo_);
  addRow(*grid, "Da&y:", yearlyDayCombo_);
  return createPage(grid);
}

QWidget* PropertiesDialog::createButtonBar() {
  auto* okButton = new QPushButton("OK");
  okButton->setObjectName("okButton");
  auto* cancelButton = new QPushButton("Cancel");
  cancelButton->setObjectName("cancelButton");
  auto* bar = new QWidget;
  bar->setFixedHeight(scaled(kButtonBarHeight));
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(kButtonSpacing);
  layout->addStretch(1);
  for (QPushButton* button : {okButton, cancelButton}) {
    button->setFixedSize(scaled(kButtonSize));
    button->setAutoDefault(false);
    layout->addWidget(button);
  }
  layout->addStretch(1);
  connect(okButton, &QPushButton::clicked, this, &PropertiesDialog::accept);
  connect(cancelButton, &QPushButton::clicked, this, &PropertiesDialog::reject);
  return bar;
}

void PropertiesDialog::showReminder() {
  const Reminder& reminder = editedReminder_;
  nameEdit_->setText(toShownText(reminder.name));
  // Typing replaces the name rather than adding to it.
  nameEdit_->selectAll();
  nameEdit_->setFocus();
  setMemoLines(*textMemo_, toShownLines(reminder.text));
  enabledCheck_->setChecked(reminder.enabled);

  const int kind = static_cast<int>(reminder.reminderType);
  typeCombo_->setCurrentIndex(kind < typeCombo_->count() ? kind : -1);
  showKindPage(typeCombo_->currentIndex());

  timeEdit_->setTime(toQTime(reminder.time));
  colorSwatch_->setColor(reminder.color);
  audioFileEdit_->setText(toShownText(reminder.audioFile));

  switch (reminder.reminderType) {
  case ReminderType::Once:
    onceDateEdit_->setDate(toQDate(reminder.date));
    break;
  case ReminderType::Weekly:
    tickDays(*weeklyDaysList_, reminder.daysOfWeek);
    break;
  case ReminderType::Monthly:
    tickDays(*monthlyDaysList_, reminder.daysOfMonth);
    break;
  case ReminderType::Yearly:
    yearlyMonthCombo_->setCurrentIndex(reminder.yearlyMonth - 1);
    yearlyDayCombo_->setCurrentIndex(reminder.yearlyDay - 1);
    break;
  case ReminderType::Daily:
    break;
  }
}

void PropertiesDialog::storeReminder() {
  Reminder& reminder = editedReminder_;
  reminder.name = toStoredText(nameEdit_->text(), reminder.name);
  reminder.text = toStoredLines(displayedMemoLines(*textMemo_), reminder.text);
  reminder.enabled = enabledCheck_->isChecked();
  // A kind this program does not know is shown as no choice and kept unless another is picked.
  if (typeCombo_->currentIndex() >= 0)
    reminder.reminderType = static_cast<ReminderType>(typeCombo_->currentIndex());
  reminder.time = fromQTime(timeEdit_->time());
  reminder.color = colorSwatch_->color();
  reminder.audioFile = toStoredText(audioFileEdit_->text(), reminder.audioFile);

  switch (reminder.reminderType) {
  case ReminderType::Once:
    reminder.date = fromQDate(onceDateEdit_->date());
    break;
  case ReminderType::Weekly:
    reminder.daysOfWeek = tickedDays(*weeklyDaysList_);
    break;
  case ReminderType::Monthly:
    reminder.daysOfMonth = tickedDays(*monthlyDaysList_);
    break;
  case ReminderType::Yearly:
    // No choice is index -1 and so stores 0.
    reminder.yearlyMonth = yearlyMonthCombo_->currentIndex() + 1;
    reminder.yearlyDay = yearlyDayCombo_->currentIndex() + 1;
    break;
  case ReminderType::Daily:
    break;
  }
}

void PropertiesDialog::accept() {
  storeReminder();
  QDialog::accept();
}

void PropertiesDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool PropertiesDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == textMemo_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
      textMemo_->insertPlainText("\t");
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void PropertiesDialog::showKindPage(int kind) {
  // The daily page is empty, so it also stands for a kind that has no page.
  constexpr int kEmptyPage = static_cast<int>(ReminderType::Daily);
  kindPages_->setCurrentIndex(kind >= 0 ? kind : kEmptyPage);
}

void PropertiesDialog::chooseColor() {
  const QColor current = colorToQColor(colorSwatch_->color(), colorSwatch_->palette());
  // The current colour is offered as the only custom colour.
  QColorDialog::setCustomColor(0, current);
  for (int i = 1; i < QColorDialog::customCount(); ++i)
    QColorDialog::setCustomColor(i, Qt::white);
  QColorDialog dialog(current, this);
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted)
    return;
  // Confirming the colour as it was keeps a system colour a system colour.
  const QColor chosen = dialog.selectedColor();
  if (chosen.rgb() != current.rgb())
    colorSwatch_->setColor(fromQColor(chosen));
}

void PropertiesDialog::browseAudioFile() {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter("Wav File (*.wav)");
  if (!audioFileEdit_->text().isEmpty())
    dialog.selectFile(audioFileEdit_->text());
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    audioFileEdit_->setText(dialog.selectedFiles().constFirst());
}

} // namespace zr
