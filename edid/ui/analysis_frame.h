#pragma once
// fra_edid_analyse ("Analyse"): the tree of an EDID's parts and the analysis
// report, which can be saved as a text file.
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <vector>

#include "edid/edid_buffer.h"

namespace t27 {

class MainWindow;

class AnalysisFrame : public QGroupBox {
    Q_OBJECT
  public:
    // `working` is the buffer the check ran on last; the report reads it.
    AnalysisFrame(QWidget* parent, MainWindow& window, const EdidBuffer& working);

    // The nodes for the working buffer (just checked), then the report.
    void build_tree();
    void tree_edid_NodeClick(int index);
    void cmd_edid_save_report_Click();
    void cmd_edid_exit_Click() { hide(); }

    QTreeWidget* tree() const { return tree_edid_; }
    // Node `index` (1-based, in the order added), or null.
    QTreeWidgetItem* node(int index) const;
    int bold_index() const { return bold_index_; }

  private:
    MainWindow& window_;
    const EdidBuffer& working_;
    QTreeWidget* tree_edid_ = nullptr;
    QPlainTextEdit* txt_edid_ana_ = nullptr;
    std::vector<QTreeWidgetItem*> nodes_;  // index - 1
    int bold_index_ = 1;
};

}  // namespace t27
