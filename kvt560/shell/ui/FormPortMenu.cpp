#include "shell/ui/FormPortMenu.h"

#include "common/ui/PortMenu.h"
#include "radiolink/SerialTransport.h"
#include "shell/PortTexts.h"
#include "shell/ui/Tform1.h"

namespace {

class FormPorts : public PortEntries
{
public:
    explicit FormPorts(Tform1 &form) : m_form(form) {}

    QString caption(int number) const override { return QStringLiteral("COM&%1").arg(number); }
    QString device(int number, const QList<SerialDevice> &) const override
    {
        return SerialTransport::portDeviceName(number, SerialTransport::portsOf(m_form.preferencesFile()));
    }
    int chosen() override { return m_form.comPort(); }
    bool remember(int number, const QString &device) override
    {
        m_form.preferencesFile().setValue(QStringLiteral("ports"), QStringLiteral("COM%1").arg(number), device);
        return true;
    }
    PortProblemTexts texts() const override
    {
        return PortTexts::forLanguage(m_form.language(), m_form.executableDir());
    }

private:
    Tform1 &m_form;
};

} // namespace

PortMenu *attachPortMenu(Tform1 &form)
{
    const QMap<int, QAction *> entries{{1, form.COM11}, {2, form.COM21}, {3, form.COM31}, {4, form.COM41}};
    return new PortMenu(form.gsegs1, entries, std::make_unique<FormPorts>(form), &form);
}
