// The Finance department's dialogs: the cost analyses, the summaries, the
// global measures, EVA and the choice of summary graphs. Their templates go
// into whichever module the program (or a test) registers.
#pragma once
#include "finance/finance_analysis.h"
#include "uikit/grid.h"
#include "uikit/sim_dialog.h"
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

inline constexpr int IDD_PRODUCT_ANALYSIS = 148;
inline constexpr int IDD_CONTRACT_ANALYSIS = 151;
inline constexpr int IDD_MARGINAL_PROFIT = 171;
inline constexpr int IDD_PRODUCT_THROUGHPUT = 172;
inline constexpr int IDD_CONTRACT_THROUGHPUT = 173;
inline constexpr int IDD_GLOBAL_MEASURES = 177;
inline constexpr int IDD_EVA_MEASUREMENT = 179;
inline constexpr int IDD_SELECT_GRAPHS = 210;

// Control ids shared by the dialogs, below the ids of a grid's cells (1000 up).
inline constexpr int FIN_HELP = 9;
inline constexpr int FIN_LIST = 601;
inline constexpr int FIN_CONTRACT_ID = 603;
inline constexpr int FIN_VALUE_FIRST = 611;        // the seven cost fields, in order
inline constexpr int FIN_NO_CONTRACTS = 620;
inline constexpr int FIN_GLOBAL_FIRST = 631;       // throughput, assets, inventory, OE
inline constexpr int FIN_EVA_FIRST = 641;          // from, to, profit, capital, interest, capital x interest, EVA, last
inline constexpr int FIN_GRAPH_BOX_FIRST = 651;    // Cash .. Throughput+OE

void register_finance_dialog_templates(plat::HINSTANCE module);

// Closes with Close; Help opens the help file at the dialog's page.
class CFinanceDialog : public CSimDialog {
public:
    CFinanceDialog(int templateId, int help_context, CFinanceWnd& books, plat::CWnd* parent);
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    int help_context() const { return m_help; }

protected:
    CFinanceWnd& m_books;
    int m_help;
};

// A list of what can be analysed beside the figures of the chosen entry;
// the first entry is shown at once.
class CListedAnalysisDlg : public CFinanceDialog {
public:
    using CFinanceDialog::CFinanceDialog;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

protected:
    void fill_list(const std::vector<std::string>& entries);
    virtual void show_entry(int index) = 0;
};

class CProductAnalysisDlg : public CListedAnalysisDlg {
public:
    CProductAnalysisDlg(CFinanceWnd& books, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CProductAnalysisDlg"; }
    plat::BOOL OnInitDialog() override;
    void show_product(int index);

protected:
    void show_entry(int index) override { show_product(index); }

private:
    std::vector<AnalysisProduct> m_products;
};

class CContractAnalysisDlg : public CListedAnalysisDlg {
public:
    CContractAnalysisDlg(CFinanceWnd& books, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CContractAnalysisDlg"; }
    // The box and no dialog when there is no contract.
    intptr_t DoModal() override;
    plat::BOOL OnInitDialog() override;
    void show_contract(int index);
    const CGrid* grid() const { return m_grid.get(); }
    void OnPaint() override;

protected:
    void show_entry(int index) override { show_contract(index); }

private:
    std::vector<ContractSummary> m_contracts;
    std::unique_ptr<CGrid> m_grid;
};

// Marginal Profit Summary, Product Throughput Summary and Contracts
// Throughput Summary: one grid of rows.
class CSummaryGridDlg : public CFinanceDialog {
public:
    enum Kind { MARGINAL_PROFIT, PRODUCT_THROUGHPUT, CONTRACT_THROUGHPUT };
    CSummaryGridDlg(Kind kind, CFinanceWnd& books, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CSummaryGridDlg"; }
    plat::BOOL OnInitDialog() override;
    const CGrid* grid() const { return m_grid.get(); }
    void OnPaint() override;

private:
    Kind m_kind;
    std::unique_ptr<CGrid> m_grid;
};

class CGlobalMeasuresDlg : public CFinanceDialog {
public:
    CGlobalMeasuresDlg(CFinanceWnd& books, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CGlobalMeasuresDlg"; }
    plat::BOOL OnInitDialog() override;
};

class CEvaMeasurementDlg : public CFinanceDialog {
public:
    CEvaMeasurementDlg(CFinanceWnd& books, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CEvaMeasurementDlg"; }
    // The box and no dialog before the first month has passed.
    intptr_t DoModal() override;
    plat::BOOL OnInitDialog() override;

private:
    EvaFigures m_eva;
};

// Which summary graphs are shown: Cash, Sales, Backlog, Throughput, WIP,
// OE, Current Inventory, Throughput+OE.
struct GraphChoice {
    std::array<bool, 8> box{};
    // A checked Throughput+OE counts once, and Throughput and OE are then not counted.
    int count() const;
};

class CSelectGraphsDlg : public CSimDialog {
public:
    CSelectGraphsDlg(const GraphChoice& choice, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CSelectGraphsDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnOK() override;
    GraphChoice choice;
};
