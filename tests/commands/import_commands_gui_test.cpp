#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/treectrl.h>

#include "app/TorvaneStudioFrame.h"
#include "gui_test_support.h"
#include "viewer/MapViewerFrame.h"

namespace {

class ImportCommands : public MainWindowTestBase {
protected:
    // Imports `xdf` through the command; both imports ask for the same kind of file.
    void import(int command, const std::string& xdf)
    {
        runWithFileDialog(command, textFile("set.xdf", xdf));
        EXPECT_EQ(ExpectFileDialog::lastSeen().title, "Select XDF file to import");
        EXPECT_EQ(ExpectFileDialog::lastSeen().wildcard, "XDF files (*.xdf)|*.xdf|All files (*.*)|*.*");
    }
    wxString line(int slot) const { return frame()->viewer()->tree()->GetItemText(frame()->viewer()->mapItem(slot)); }
    bool xdfRemembered() const { return readText(home.settingsFile()).find(".xdf") != std::string::npos; }
};

TEST_F(ImportCommands, XdfImportListsTheMapsAndARejectedFileKeepsThem)
{
    import(ids().importXdf, "<!-- c -->\n<XDFFORMAT version=\"1.50\"><XDFTABLE><title>Spark</title></XDFTABLE>"
                            "<XDFTABLE><title>Lambda</title><XDFAXIS id=\"x\"><indexcount>8</indexcount></XDFAXIS>"
                            "<XDFAXIS id=\"y\"><indexcount>4</indexcount></XDFAXIS></XDFTABLE></XDFFORMAT>");
    EXPECT_EQ(statusText(frame()), "Definitions file loaded.");
    ASSERT_NE(frame()->viewer(), nullptr);
    EXPECT_TRUE(frame()->viewer()->IsShown());
    ASSERT_EQ(frame()->viewer()->itemCount(), 2);
    EXPECT_EQ(line(1), "Lambda (0) [8x4]");

    import(ids().importXdf, "<!-- c -->\n<XDFFORMAT version=\"1.60\"><XDFTABLE/></XDFFORMAT>");
    EXPECT_EQ(statusText(frame()), "The definitions file version is not compatible!");
    EXPECT_EQ(frame()->viewer()->itemCount(), 2);
    EXPECT_FALSE(xdfRemembered());
}

TEST_F(ImportCommands, CompleteXdfImportTakesTheAddressesAndSaysWhatIsLeft)
{
    import(frame()->GetMenuBar()->FindMenuItem("&Maps", "TunerPro XDF with addresses and scaling"),
           "<XDFFORMAT version=\"1.70\"><XDFHEADER><BASEOFFSET offset=\"0x100\"/><DEFAULTS datasizeinbits=\"16\"/>"
           "</XDFHEADER><XDFTABLE><title>Spark</title><XDFAXIS id=\"x\"><indexcount>8</indexcount></XDFAXIS>"
           "<XDFAXIS id=\"z\"><EMBEDDEDDATA mmedaddress=\"0x20\"/><MATH equation=\"X*0.5\"/></XDFAXIS></XDFTABLE>"
           "<XDFTABLE><title>Float</title><XDFAXIS id=\"z\"><EMBEDDEDDATA mmedaddress=\"0x40\" "
           "mmedtypeflags=\"0x10000\"/></XDFAXIS></XDFTABLE><XDFCONSTANT><title>Limit</title><EMBEDDEDDATA "
           "mmedaddress=\"0x60\"/></XDFCONSTANT></XDFFORMAT>");
    EXPECT_EQ(statusText(frame()), "Definitions file loaded: 3 maps; 1 needs its address set by hand.");
    ASSERT_NE(frame()->viewer(), nullptr);
    ASSERT_EQ(frame()->viewer()->itemCount(), 3);
    EXPECT_EQ(line(2), "Limit (160) [1x1]");
    const AxisDefinition& z = frame()->workspace().definitions.maps[0].axes[AxisZ];
    EXPECT_EQ(std::tie(z.address, z.bits, z.factor), std::make_tuple(0x120u, 16, 0.5));
    EXPECT_FALSE(xdfRemembered());
}

} // namespace
