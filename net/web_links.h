// The web addresses the program opens or shows: the maker's official-site and
// feedback pages, the download site's page for the program, and the version
// page the latest-version window frames.
#pragma once

namespace net {

inline constexpr char kOfficialSiteUrl[] = "http://www.quondasoft.com/html/yijianfankui-qrx/index.htm";
inline constexpr char kFeedbackUrl[] = "http://www.quondasoft.com/feedback/";
inline constexpr char kDownloadUrl[] = "http://www.quondadown.com/soft/detail/40350.html";
inline constexpr char kVersionPageUrl[] =
    "http://ver.quondasoft.com/html/ruanjianbanben-123456789/index.htm";

}  // namespace net
