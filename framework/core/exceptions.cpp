#include "framework/core/exceptions.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)

namespace {

// Message templates of the file exception, in cause order.
constexpr const char16_t* kFileExceptionTemplates[] = {
    u"ｴﾗｰはありませんでした。",
    u"%1 へのｱｸｾｽ中に不明なｴﾗｰが発生しました。",
    u"%1 が見つかりませんでした。",
    u"%1 には無効なﾊﾟｽが含まれています。",
    u"開いているﾌｧｲﾙが多すぎるため、%1 を開けませんでした。",
    u"%1 へのｱｸｾｽは拒否されました。",
    u"%1 へ無効なﾌｧｲﾙ ﾊﾝﾄﾞﾙが関連付けられていました。",
    u"現在のﾃﾞｨﾚｸﾄﾘ %1 は削除できませんでした。",
    u"%1 を作成できませんでした。そのﾃﾞｨﾚｸﾄﾘはいっぱいです。",
    u"%1 のｼｰｸに失敗しました。",
    u"%1 へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。",
    u"%1 へのｱｸｾｽ中に共有違反が発生しました。",
    u"%1 へのｱｸｾｽ中にﾛｯｸ違反が発生しました。",
    u"%1 へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。",
    u"%1 の末尾以降にｱｸｾｽしようとしました。",
};
constexpr unsigned kFileExceptionTemplateCount =
    sizeof(kFileExceptionTemplates) / sizeof(kFileExceptionTemplates[0]);

// Templates are read into room for 255 characters.
constexpr int kTemplateRoom = 255;

}  // namespace

CString LoadFrameworkString(unsigned id) {
    if (id == kIdsUntitledFile) {
        return u"無題のﾌｧｲﾙ";
    }
    if (id == kIdsMemoryException) {
        return u"ﾒﾓﾘが不足しています。";
    }
    if (id >= kIdsFileExceptionBase && id < kIdsFileExceptionBase + kFileExceptionTemplateCount) {
        return kFileExceptionTemplates[id - kIdsFileExceptionBase];
    }
    return CString();
}

CString CException::GetErrorMessage() const {
    return CString();
}

CString CFileException::GetErrorMessage() const {
    CString text = LoadFrameworkString(kIdsFileExceptionBase + static_cast<unsigned>(m_cause))
                       .Left(kTemplateRoom);
    const CString name =
        m_strFileName.IsEmpty() ? LoadFrameworkString(kIdsUntitledFile) : m_strFileName;
    text.Replace(u"%1", name);
    return text;
}

CString CMemoryException::GetErrorMessage() const {
    return LoadFrameworkString(kIdsMemoryException);
}

FailureReport DescribeFailure(const CException& e) {
    FailureReport report;
    if (e.IsKindOf(RUNTIME_CLASS(CUserException))) {
        return report;
    }
    report.show = true;
    report.text = e.GetErrorMessage().Left(kMaxShownMessage);
    report.style = e.IsKindOf(RUNTIME_CLASS(CMemoryException))
                       ? MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL
                       : MB_OK | MB_ICONSTOP;
    return report;
}
