#include "PageValues.h"

#if !defined(BRC_SERVICE_BASE_URL) || !defined(BRC_SERVICE_HOST)
#error "BRC_SERVICE_BASE_URL and BRC_SERVICE_HOST name the web service"
#endif

// One line on purpose: the page file is written in text mode, and a template
// without line feeds comes out byte for byte as it stands here.
const char theAboutTemplate[] =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
    "\"http://www.w3.org/TR/html4/loose.dtd\">"
    "<html><head>"
    "<meta http-equiv=\"Content-Type\" content=\"text/html;charset=iso-8859-1\">"
    "<title>#p_company# #p_software#</title>"
    "<style type=\"text/css\">"
    "body{margin:2%;font-family:\"Nina\",\"Tahoma\",\"verdana\",\"arial\",sans-serif}"
    "a{color:#33264A;text-decoration:underline;font-size:18px;background-color:#FDA}"
    "a:hover{color:#D43FAA;text-decoration:none;font-size:18px}"
    "a:visited{color:#555799;text-decoration:underline;font-size:18px;"
    "border-bottom:1px dotted}"
    ".BigName{color:#804000;font-size:22px}"
    "body,td,th{font-size:14px}"
    ".SoftwareHeading{font-size:16px;color:#003000}"
    ".footer{font-size:12px;font-style:italic;text-align:right}"
    ".bg1{background-color:#FFC977}"
    ".bg2{background-color:#FFECBF;color:#2A1F00}"
    ".bg3{background-color:#F0E6CE}"
    "</style></head>"
    "<body class=\"bg1\" scroll=\"auto\">"
    "<table class=\"bg2\" width=\"98%\" border=\"0\" cellspacing=\"2\" cellpadding=\"2\">"
    "<tr><td height=\"50\" colspan=\"2\"><p>About <span class=\"BigName\"><b>#p_software#</b>"
    "</span><br><span class=\"SoftwareHeading\">Version: #p_version# by #p_company#</span>"
    "<br></p></td></tr>"
    "<tr><td colspan=\"2\"><hr></td></tr>"
    "<tr><td>on #p_computer#</td>"
    "<td rowspan=\"2\" align=\"left\" valign=\"top\" class=\"bg3\">#n_about# #n_abouts#<br></td>"
    "</tr>"
    "<tr><td>&copy;&nbsp;#n_copy#</td></tr>"
    "<tr><td colspan=\"2\" align=\"center\">#uptodate#</td></tr>"
    "</table>"
    "<hr align=\"center\" width=\"90%\">"
    "<table width=\"98%\"><tr>"
    "<td><a href=\"#l_url#\" target=\"_blank\">Www #p_software#</a></td>"
    "<td><a href=\"#l_help_url#\" target=\"_blank\">Help</a></td>"
    "<td><a href=\"#l_exe_url#\" target=\"_blank\">Download</a></td>"
    "<td><a href=\"" BRC_SERVICE_BASE_URL "supportcontact.php?p_softwareid=#p_softwareid#\" "
    "target=\"_blank\">Support</a></td>"
    "</tr></table>"
    "<p class=\"footer\">powered by <a class=\"footer\" href=\"" BRC_SERVICE_BASE_URL
    "customerinfo.php\" target=\"_blank\">" BRC_SERVICE_HOST "</a></p>"
    "</body></html>";

const char theDefaultAboutText[] =
    "This page tells which version of #p_software# you have and whether a newer one is "
    "out.\nThe links below lead to the product's web site, its help, the latest download "
    "and the maker's support.";
