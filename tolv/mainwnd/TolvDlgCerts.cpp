// The certificate list of page 0 and the details box below it.
#include "mainwnd/TolvDlg.h"
#include "certs/UserCertStore.h"
#include "mainwnd/Messages.h"
#include "res/resource.h"

#include <vector>

using certs::CertRow;

namespace {

struct Column {
    const char* heading;
    int format;
    int width;
};

const Column kColumns[] = {
    {"证书类型", LVCFMT_RIGHT, 64},
    {"持有者", LVCFMT_CENTER, 164},
    {"颁发者", LVCFMT_CENTER, 85},
    {"起始时间", LVCFMT_CENTER, 116},
    {"截止日期", LVCFMT_CENTER, 116},
};

// The calendar date of a certificate time, in UTC.
std::string ListDate(const FILETIME& time)
{
    SYSTEMTIME st = {};
    ::FileTimeToSystemTime(&time, &st);
    return certs::FormatListDate(st.wYear, st.wMonth, st.wDay);
}

}  // namespace

void CTolvDlg::InitCertList()
{
    m_listCert.ModifyStyle(0, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
    m_listCert.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    int index = 0;
    for (const Column& c : kColumns) m_listCert.InsertColumn(index++, c.heading, c.format, c.width);
}

LRESULT CTolvDlg::OnCertRefresh()
{
    ::SetDlgItemTextA(m_hWnd, IDC_CERT_DETAILS, "");
    m_listCert.DeleteAllItems();
    LoadCertificates();
    FillCertList();
    if (!m_signingRows.empty()) ShowCertDetails(m_signingRows.front().holder);
    return 0;
}

void CTolvDlg::OnRefresh()
{
    ::SendMessageA(m_hWnd, WM_CERT_REFRESH, 0, 0);
}

certs::CertKind CTolvDlg::GetCertKind(PCERT_INFO info)
{
    BYTE usage = 0;  // left untouched when there is no key-usage extension
    BOOL has = ::CertGetIntendedKeyUsage(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, info, &usage, 1);
    return certs::ClassifyKeyUsage(has != FALSE, usage);
}

void CTolvDlg::LoadCertificates()
{
    m_signingRows.clear();
    m_encryptionRows.clear();
    m_singleRows.clear();

    CUserCertStore store;
    while (PCCERT_CONTEXT cert = store.Next()) {
        CertRow row;
        if (!CUserCertStore::SimpleName(cert, false, &row.holder)) break;
        if (!CUserCertStore::SimpleName(cert, true, &row.issuer)) break;
        row.validFrom = ListDate(cert->pCertInfo->NotBefore);
        row.validTo = ListDate(cert->pCertInfo->NotAfter);
        if (row.issuer != certs::kIssuerName) continue;

        certs::CertKind kind = GetCertKind(cert->pCertInfo);
        row.type = certs::TypeText(kind);
        if (kind == certs::kKindSigning)
            m_signingRows.push_back(row);
        else if (kind == certs::kKindEncryption)
            m_encryptionRows.push_back(row);
        else
            m_singleRows.push_back(row);
    }
}

void CTolvDlg::FillCertList()
{
    // One repaint at the end rather than one per row.
    m_listCert.SendMessage(WM_SETREDRAW, FALSE);
    int index = 0;
    for (const CertRow* row : certs::DisplayOrder(m_signingRows, m_encryptionRows, m_singleRows))
        AddCertRow(*row, index++);
    m_listCert.SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_listCert.m_hWnd, nullptr, TRUE);
}

void CTolvDlg::AddCertRow(const CertRow& row, int index)
{
    int item = m_listCert.InsertItem(index, row.type.c_str());
    m_listCert.SetItemText(item, 1, row.holder.c_str());
    m_listCert.SetItemText(item, 2, row.issuer.c_str());
    m_listCert.SetItemText(item, 3, row.validFrom.c_str());
    m_listCert.SetItemText(item, 4, row.validTo.c_str());
}

std::string CTolvDlg::GetExtensionText(const char* oid, PCCERT_CONTEXT cert)
{
    PCERT_EXTENSION ext = ::CertFindExtension(oid, cert->pCertInfo->cExtension, cert->pCertInfo->rgExtension);
    if (!ext) return certs::kMissingExtensionText;
    return certs::ExtensionValueText(ext->Value.pbData, ext->Value.cbData);
}

LRESULT CTolvDlg::ShowCertDetails(const std::string& holder)
{
    // Every certificate of the holder is looked at in store order: the last
    // one decides what the box shows.
    CUserCertStore store;
    while (PCCERT_CONTEXT cert = store.Next()) {
        std::string name;
        if (!CUserCertStore::SimpleName(cert, false, &name)) break;
        if (name != holder) continue;
        std::string text;
        if (GetExtensionText(certs::kOidMarker, cert) == certs::kDetailsMarker)
            text = certs::DetailsText(name, GetExtensionText(certs::kOidTaxpayer, cert),
                                      GetExtensionText(certs::kOidSubAccount, cert),
                                      GetExtensionText(certs::kOidTaxRegistration, cert));
        ::SetDlgItemTextA(m_hWnd, IDC_CERT_DETAILS, text.c_str());
    }
    return 0;
}

LRESULT CTolvDlg::OnCertListClick()
{
    int item = static_cast<int>(m_listCert.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (item < 0) return 0;
    char holder[512] = "";
    LVITEMA lv = {};
    lv.iSubItem = 1;
    lv.pszText = holder;
    lv.cchTextMax = sizeof(holder);
    m_listCert.SendMessage(LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv));
    if (holder[0]) ShowCertDetails(holder);
    return 0;
}
