// Payments: the change rule of the payment list, invoices, the VAT amounts and texts, the amount field,
// the history rows, the list and purchase requests and what is refused before anything is sent.
#include "payments/paymenthistory.h"
#include "payments/paymentscontroller.h"
#include "payments/vatrules.h"
#include "records/userpayment.h"
#include "sessiontestkit.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace {

QJsonObject payment(int id, const QString &status, const QString &invoice = QStringLiteral("NOT REQUESTED"))
{
    return QJsonObject{{"payment_id", id},          {"payment_name", "Credits purchase"},
                       {"paypal_payment_key", "K"}, {"payment_status", status},
                       {"payment_amount", "11.90"}, {"vat_amount", "1.90"},
                       {"payment_currency", "EUR"}, {"payment_date", "2024-01-01 10:00:00"},
                       {"invoice_status", invoice}};
}

QJsonArray fourPayments()
{
    return QJsonArray{payment(1, "Completed", "SENT"), payment(2, "Pending", "UNAVAILABLE"),
                      payment(3, "Pending", "UNAVAILABLE"), payment(4, "Cancelled", "UNAVAILABLE")};
}

QJsonArray with(QJsonArray list, int index, const QJsonObject &entry)
{
    list.replace(index, entry);
    return list;
}

} // namespace

class TestPayments : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void vat_data()
    {
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("amount");
        QTest::addColumn<bool>("eu");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("country");
        QTest::addColumn<double>("charged"); // for 100 at the rate 1.19
        QTest::addColumn<QString>("line");
        QTest::newRow("rate unknown") << -1.0 << 10.0 << false << false << "NA" << 119.0
                                      << "VAT will be applied when making the payment.";
        QTest::newRow("Romanian company")
            << 1.19 << 10.0 << true << true << "romania" << 119.0
            << "Total (including VAT 19.00%) = €11.90\n\nNOTE: Valid RO/EU VAT provided || VAT 19.00% will "
               "be "
               "charged because vantorix is a Romanian company, under RO fiscal regulations.";
        QTest::newRow("EU company elsewhere")
            << 1.19 << 10.0 << true << true << "Germany" << 100.0
            << "Valid EU VAT provided || VAT will not be added to your purchase";
        QTest::newRow("EU resident, no valid number") << 1.19 << 250.0 << true << false << "Germany" << 119.0
                                                      << "Total (including VAT 19.0%) = €297.50";
    }

    void vat()
    {
        QFETCH(double, rate);
        QFETCH(double, amount);
        QFETCH(bool, eu);
        QFETCH(bool, valid);
        QFETCH(QString, country);
        QFETCH(double, charged);
        QFETCH(QString, line);
        const VatRules::Buyer buyer{eu, valid, country};
        QCOMPARE(VatRules::line(rate, amount, buyer), line);
        QCOMPARE(VatRules::modifiedAmount(100, 1.19, buyer), charged);
    }

    void amountField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("amount");
        QTest::newRow("two digits, below the minimum") << "05" << true << qint64(5);
        QTest::newRow("many digits") << "123456" << true << qint64(123456);
        QTest::newRow("letters") << "1a" << false << qint64(0);
        QTest::newRow("blank") << " 10" << false << qint64(0);
        QTest::newRow("sign") << "+10" << false << qint64(0);
        QTest::newRow("other digits") << "١٢" << false << qint64(0);
        QTest::newRow("too large to hold") << "99999999999999999999" << true << qint64(-1);
    }

    void amountField()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, amount);
        QCOMPARE(VatRules::isValidAmountText(text), valid);
        const auto parsed = VatRules::amountFromText(text);
        QCOMPARE(parsed.has_value(), valid && amount >= 0);
        if (parsed)
            QCOMPARE(*parsed, amount);
    }

    void invoiceButton_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("invoice");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("action");
        const auto row = [](const char *name, const char *status, const char *invoice, const char *link,
                            const char *text, bool enabled, PaymentHistory::ButtonAction action) {
            QTest::newRow(name) << QString::fromUtf8(status) << QString::fromUtf8(invoice)
                                << QString::fromUtf8(link) << QString::fromUtf8(text) << enabled
                                << int(action);
        };
        using A = PaymentHistory::ButtonAction;
        row("can request", "completed", "NOT REQUESTED", "", "Request Invoice", true, A::RequestInvoice);
        row("pending with link", "PENDING", "UNAVAILABLE", "https://pay/x", "Open payment link", true,
            A::OpenPaymentLink);
        row("pending without link", "Pending", "NOT REQUESTED", "", "Invoice Unavailable", false, A::None);
    }

    void invoiceButton()
    {
        QFETCH(QString, status);
        QFETCH(QString, invoice);
        QFETCH(QString, link);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        QFETCH(int, action);
        const auto b = PaymentHistory::invoiceButton(status, invoice, link);
        QCOMPARE(b.text, text);
        QCOMPARE(b.enabled, enabled);
        QCOMPARE(int(b.action), action);
    }

    void historyRows()
    {
        QJsonObject odd = payment(7, "Completed");
        odd.insert("payment_amount", "not a number");
        odd.insert("vat_amount", "2.5");
        PaymentsController payments(nullptr, nullptr, nullptr, nullptr);
        payments.applyPaymentList(QJsonArray{payment(6, "Completed"), odd});
        const QVariantList rows = payments.historyRows();
        QCOMPARE(rows.size(), 3);
        const QVariantMap header = rows.at(0).toMap();
        QCOMPARE(header.value("date").toString(), QStringLiteral("Date") + QString(21, ' '));
        QCOMPARE(header.value("key").toString(), QStringLiteral("Payment Key") + QString(15, ' '));
        QCOMPARE(header.value("amount").toString(), QStringLiteral("Total"));
        QCOMPARE(rows.at(1).toMap().value("credits").toDouble(), 10.0);
        QCOMPARE(rows.at(2).toMap().value("credits").toDouble(), -2.5); // amount unreadable: 0 - 2.5
        QCOMPARE(rows.at(2).toMap().value("identifier").toInt(), 7);
    }

    void changeRule_data()
    {
        QTest::addColumn<QJsonArray>("next");
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<int>("notices");
        const QJsonArray base = fourPayments();
        QTest::newRow("one payment completed")
            << with(base, 1, payment(2, "Completed", "UNAVAILABLE")) << true << 1;
        QTest::newRow("two payments completed: one notice")
            << with(with(base, 1, payment(2, "Completed", "UNAVAILABLE")), 2,
                    payment(3, "Completed", "UNAVAILABLE"))
            << true << 1;
        QTest::newRow("first change is not a completion: none")
            << with(with(base, 0, payment(1, "Refunded", "SENT")), 1, payment(2, "Completed", "UNAVAILABLE"))
            << true << 0;
        QTest::newRow("only the invoice status")
            << with(base, 0, payment(1, "Completed", "REQUESTED")) << true << 0;
        QTest::newRow("completed in other case: no notice")
            << with(base, 1, payment(2, "completed", "UNAVAILABLE")) << true << 0;
        QJsonArray longer = with(base, 1, payment(2, "Completed", "UNAVAILABLE"));
        longer.append(payment(5, "Pending", "UNAVAILABLE"));
        QTest::newRow("count changed with a completion: none") << longer << true << 0;
        QJsonArray renamed = base;
        QJsonObject p = payment(1, "Completed", "SENT");
        p.insert("payment_amount", "99.00");
        renamed.replace(0, p);
        QTest::newRow("other fields only: kept") << renamed << false << 0;
        QTest::newRow("identical: kept") << base << false << 0;
    }

    void changeRule()
    {
        QFETCH(QJsonArray, next);
        QFETCH(bool, replaced);
        QFETCH(int, notices);
        PaymentsController payments(nullptr, nullptr, nullptr, nullptr);
        payments.applyPaymentList(fourPayments());
        const QList<UserPayment *> before = payments.userPayments();
        QList<QPointer<UserPayment>> old;
        for (UserPayment *p : before)
            old.append(p);
        QSignalSpy changed(&payments, &PaymentsController::userPaymentsChanged);
        QSignalSpy completed(&payments, &PaymentsController::paymentCompleted);
        QSignalSpy rows(&payments, &PaymentsController::historyRowsChanged);

        payments.applyPaymentList(next);
        QCOMPARE(rows.count() > 0, replaced);
        QCOMPARE(changed.count(), replaced ? 1 : 0);
        QCOMPARE(completed.count(), notices);
        QCOMPARE(payments.userPayments() == before, !replaced);
        QCOMPARE(payments.userPayments().size(), replaced ? next.size() : 4);
        // Old records go when replaced; fresh ones go when they are not needed.
        QTRY_COMPARE(payments.findChildren<UserPayment *>().size(), payments.userPayments().size());
        for (const QPointer<UserPayment> &p : old)
            QCOMPARE(p.isNull(), replaced);
    }

    void aReplyThatIsNoCollectionIsIgnored()
    {
        PaymentsController payments(nullptr, nullptr, nullptr, nullptr);
        payments.applyPaymentList(fourPayments());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("neither a list nor an object"));
        payments.applyPaymentList(QJsonValue(QStringLiteral("oops")));
        QCOMPARE(payments.userPayments().size(), 4);
    }

    // The page itself opening is the credits journey's.
    void listAndPurchase()
    {
        SessionTestKit f;
        PaymentsController payments(&f.api(), &f.shell, &f.host, &f.user());
        payments.listUserPayments();
        payments.listUserPayments(); // skipped while one is in flight
        payments.setPurchaseAmountText(QStringLiteral("25"));
        QVERIFY(payments.makePayment());
        QVERIFY(f.settle());
        QCOMPARE(f.requests(QStringLiteral("list_user_payments")).size(), 1);
        QCOMPARE(f.requests(QStringLiteral("initiate_payment")),
                 QStringList{QStringLiteral(
                     "/API/?action=initiate_payment&email=demo%40vantorix.example&amount=25")});
        QCOMPARE(f.shell.messages(),
                 QStringList{QStringLiteral("Opening payment in web browser. Please check your "
                                            "browser if no window pops up automatically.")});
        QCOMPARE(f.host.urls.size(), 1);
    }

    void refusedBeforeAnythingIsSent()
    {
        RecordingShell shell;
        FakeHost host;
        PaymentsController payments(nullptr, &shell, &host, nullptr);
        payments.setPurchaseAmountText(QStringLiteral("1"));
        QVERIFY(!payments.canPurchase());
        QVERIFY(!payments.makePayment());
        QVERIFY(shell.notes.isEmpty());
        // A link that is no web address is not opened.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not opening a payment link"));
        payments.openPaymentLink(QStringLiteral("file:///etc/passwd"));
        QVERIFY(host.urls.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPayments)
#include "tst_payments.moc"
