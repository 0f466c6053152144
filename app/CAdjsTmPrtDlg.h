#pragma once

#include "app/CHelpDialog.h"
#include "parse/NumberFormat.h"

#include <functional>

class CHelperLibrary;
class CMessageSink;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// "Adjust time part (choose & transfer)": the part wanted for one item, in a unit of the user's
// choice, and, when the parts would then add up to more than 100 %, the excess and a transfer
// from an item the user activates in the input pane. Modeless; the input pane owns it and does
// the changes it asks for.
class CAdjsTmPrtDlg : public CHelpDialog {
    Q_OBJECT

public:
    struct Requests {
        std::function<void(double percent)> transfer;       // "Subtract from:" the donor
        std::function<void(double percent)> applyRequested; // OK
        std::function<void()> forgetPair;                   // OK or Cancel
        std::function<void(const QString&)> showHelp;
        std::function<bool()> decimalHours; // how hours are typed, as Options say
    };

    static constexpr const char* kNoDonor = "(activate an item in \"Input view\")";
    static constexpr const char* kPickDonor =
        "To subtract, activate in \"Input view\" the item to subtract from first, please.";

    CAdjsTmPrtDlg(const numberformat::TimeFactors& factors, const CHelperLibrary& library,
                  CMessageSink& messages, Requests requests, QWidget* parent = nullptr);

    // Opening for an item: its name, the part it is to get, the other parts' sum, its unit.
    void openFor(const QString& target, double requested, double others, int unit);
    void setDonor(const QString& name, double part);
    void setDonorPartAndOthers(double donorPart, double others);

    bool isClosed() const { return m_closed; }
    double requestedPart() const { return m_requested; }
    bool transferPanelShown() const { return m_panelShown; }
    // For tests and the pane: the texts the user sees.
    QString requestedText() const;
    QString excessText() const;
    QString donorText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QPushButton* buildTransferPanel();
    double valueOf100(int unit) const;
    QString inUnit(double percent) const;
    bool readInUnit(const QString& text, double& percent, bool quiet) const;
    void onUnitChanged(int index);
    void onRequestedEdited(const QString& text);
    void onSubtract();
    void updatePanel();
    void finish(bool apply);

    numberformat::TimeFactors m_factors;
    const CHelperLibrary& m_library;
    CMessageSink& m_messages;
    Requests m_requests;

    int m_unit = 2;
    QString m_target{QStringLiteral(" ")};
    double m_requested = 0;
    double m_others = 0;
    QString m_donor{QString::fromLatin1(kNoDonor)};
    double m_donorPart = 0;
    double m_amount = 0;
    bool m_panelShown = true;
    bool m_closed = false;

    QComboBox* m_units;
    QLabel* m_targetName;
    QLineEdit* m_requestedField;
    QLabel* m_requestedUnit;
    QWidget* m_panel;
    QLabel* m_excess;
    QLabel* m_excessText;
    QLabel* m_donorPartField;
    QLabel* m_donorTextField;
    QLineEdit* m_amountField;
    QLabel* m_amountUnit;
};
