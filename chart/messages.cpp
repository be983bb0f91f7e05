// The chart library's text tables.
#include "chart/messages.h"

#include "chart/unit.h"

namespace chart {

std::string ChartFileExtension = "drx";

std::string MsgOwnerLine;
std::string MsgTest;
std::string MsgLegendFirstValue;
std::string MsgLegendColorWidth;
std::string MsgNoParentChart;
std::string MsgInvalidDataSource;
std::string MsgFillSample;
std::string MsgAxisDateTimeLogarithmic;
std::string MsgAxisLogarithmicNegative;
std::string MsgAxisLabelSeparation;
std::string MsgAxisIncrementNegative;
std::string MsgAxisMinMax;
std::string MsgAxisMaxMin;
std::string MsgAxisLogarithmicBase;
std::string MsgMaxPointsPerPage;
std::string Msg3DPercent;
std::string MsgCircularSeries;
std::string MsgWarningHiColor;
std::string MsgDefaultPercentOf;
std::string MsgDefaultPercentOf2;
std::string MsgDefaultPercentFormat;
std::string MsgDefaultValueFormat;
std::string MsgDefaultLogValueFormat;
std::string MsgAxisTitle;
std::string MsgAxisLabels;
std::string MsgRefreshInterval;
std::string MsgSeriesParentNoSelf;
std::string MsgGalleryLine;
std::string MsgGalleryPoint;
std::string MsgGalleryArea;
std::string MsgGalleryBar;
std::string MsgGalleryHorizBar;
std::string MsgStack;
std::string MsgGalleryPie;
std::string MsgGalleryCircled;
std::string MsgGalleryFastLine;
std::string MsgGalleryHorizLine;
std::string MsgPieSampleCars;
std::string MsgPieSamplePhones;
std::string MsgPieSampleTables;
std::string MsgPieSampleMonitors;
std::string MsgPieSampleLamps;
std::string MsgPieSampleKeyboards;
std::string MsgPieSampleBikes;
std::string MsgPieSampleChairs;
std::string MsgFontCourierNew;
std::string MsgEditing;
std::string MsgGalleryStandard;
std::string MsgGalleryExtended;
std::string MsgGalleryFunctions;
std::string MsgEditChart;
std::string MsgPrintPreview;
std::string MsgExportChart;
std::string MsgCustomAxes;
std::string MsgInvalidEditorClass;
std::string MsgMissingEditorDialog;
std::string MsgGalleryArrow;
std::string MsgWizardFinish;
std::string MsgWizardNext;
std::string MsgGalleryGantt;
std::string MsgGanttSampleDesign;
std::string MsgGanttSamplePrototyping;
std::string MsgGanttSampleDevelopment;
std::string MsgGanttSampleSales;
std::string MsgGanttSampleMarketing;
std::string MsgGanttSampleTesting;
std::string MsgGanttSampleManufacturing;
std::string MsgGanttSampleDebugging;
std::string MsgGanttSampleNewVersion;
std::string MsgGanttSampleBanking;
std::string MsgChangeSeriesTitle;
std::string MsgNewSeriesTitle;
std::string MsgDateTime;
std::string MsgTopAxis;
std::string MsgBottomAxis;
std::string MsgLeftAxis;
std::string MsgRightAxis;
std::string MsgSureToDelete;
std::string MsgDateTimeFormat;
std::string MsgDefault;
std::string MsgValuesFormat;
std::string MsgMaximum;
std::string MsgMinimum;
std::string MsgDesiredIncrement;
std::string MsgIncorrectValue;
std::string MsgEnterDateTime;
std::string MsgSureToApply;
std::string MsgSelectedSeries;
std::string MsgRefreshData;
std::string MsgDefaultFontSize;
std::string MsgDefaultEditorWidth;
std::string MsgDefaultEditorHeight;
std::string MsgFunctionAdd;
std::string MsgFunctionSubtract;
std::string MsgFunctionMultiply;
std::string MsgFunctionDivide;
std::string MsgFunctionHigh;
std::string MsgFunctionLow;
std::string MsgFunctionAverage;
std::string MsgGalleryShape;
std::string MsgGalleryBubble;
std::string MsgFunctionCopy;
std::string MsgFunctionNone;
std::string MsgPrivateDeclarations;
std::string MsgPublicDeclarations;
std::string MsgDefaultFontName;
std::string MsgCheckPointerSize;
std::string MsgAbout;
std::string MsgPaletteAdditional;
std::string MsgPaletteDataControls;
std::string MsgPaletteReports;
std::string MsgDataSet;
std::string MsgAskDataSet;
std::string MsgSingleRecord;
std::string MsgAskDataSource;
std::string MsgSummary;
std::string MsgFunctionPeriod;
std::string MsgWizardTab;
std::string MsgWizard;
std::string MsgClearImage;
std::string MsgBrowseImage;
std::string MsgWizardSureToClose;
std::string MsgFieldNotFound;
std::string MsgDepthRightAxis;
std::string MsgPieOther;
std::string MsgSampleText;
std::string MsgSampleNumber;
std::string MsgValuesX;
std::string MsgValuesY;
std::string MsgValuesPie;
std::string MsgValuesBar;
std::string MsgValuesAngle;
std::string MsgValuesGanttStart;
std::string MsgValuesGanttEnd;
std::string MsgValuesGanttNextTask;
std::string MsgValuesBubbleRadius;
std::string MsgValuesArrowEndX;
std::string MsgValuesArrowEndY;
std::string MsgLegend;
std::string MsgTitle;
std::string MsgFoot;
std::string MsgPeriod;
std::string MsgPeriodRange;
std::string MsgCalculateEvery;
std::string MsgSmallDots;
std::string MsgInvalidChartFile;
std::string MsgWrongChartFileFormat;
std::string MsgEmptyChartFile;
std::string MsgChartAxes;
std::string MsgChartAxesHint;
std::string MsgChartWalls;
std::string MsgChartWallsHint;
std::string MsgChartTitles;
std::string MsgChartTitlesHint;
std::string MsgChart3D;
std::string MsgChart3DHint;
std::string MsgCustomPrefix;
std::string MsgSeries;
std::string MsgSeriesMenu;
std::string MsgPageOfPages;
std::string MsgFileSize;
std::string MsgFirst;
std::string MsgPrior;
std::string MsgNext;
std::string MsgLast;
std::string MsgInsert;
std::string MsgDelete;
std::string MsgEdit;
std::string MsgPost;
std::string MsgCancel;
std::string MsgAll;
std::string MsgIndex;
std::string MsgText;
std::string MsgAsBitmap;
std::string MsgBitmapFilter;
std::string MsgAsMetafile;
std::string MsgMetafileFilter;
std::string MsgExportPanelNotSet;
std::string MsgNormal;
std::string MsgNoBorder;
std::string MsgDotted;
std::string MsgColors;
std::string MsgFilled;
std::string MsgMarks;
std::string MsgStairs;
std::string MsgPoints;
std::string MsgHeight;
std::string MsgHollow;
std::string MsgPoint2D;
std::string MsgTriangle;
std::string MsgStar;
std::string MsgCircle;
std::string MsgDownTriangle;
std::string MsgCross;
std::string MsgDiamond;
std::string MsgNoLines;
std::string MsgStack100;
std::string MsgPyramid;
std::string MsgEllipse;
std::string MsgInvPyramid;
std::string MsgSides;
std::string MsgSideAll;
std::string MsgPatterns;
std::string MsgExploded;
std::string MsgShadow;
std::string MsgSemiPie;
std::string MsgRectangle;
std::string MsgVertLine;
std::string MsgHorizLine;
std::string MsgLine;
std::string MsgCube;
std::string MsgDiagCross;
std::string MsgCanNotFindTempPath;
std::string MsgCanNotCreateTempChart;
std::string MsgCanNotEmailChart;
std::string MsgSeriesDelete;
std::string MsgNoSeriesSelected;
std::string MsgErrorDownloadingChart;
std::string MsgErrorDownloadingSeries;
std::string MsgAsJpeg;
std::string MsgJpegFilter;
std::string MsgAsGif;
std::string MsgGifFilter;
std::string MsgAsPng;
std::string MsgPngFilter;
std::string MsgAsPcx;
std::string MsgPcxFilter;
std::string MsgAsVml;
std::string MsgVmlFilter;
std::string MsgAskLanguage;
std::string MsgGradient;
std::string MsgWantToSave;
std::string MsgNativeFilter;
std::string MsgProperty;
std::string MsgValue;
std::string MsgYes;
std::string MsgNo;
std::string MsgImage;
std::string MsgFunctionOfX;
std::string MsgAsPdf;
std::string MsgPdfFilter;
std::string MsgAsPostScript;
std::string MsgPostScriptFilter;
std::string MsgGalleryHorizArea;
std::string MsgSelfStack;
std::string MsgDarkPen;
std::string MsgSelectFolder;
std::string MsgAskAlias;
std::string MsgAskConnection;
std::string MsgApply;
std::string MsgAddNewGroup;
std::string MsgChangeGroupName;
std::string MsgGroupName;
std::string MsgFunctionMedian;
std::string MsgFunctionMode;
std::string MsgOptions;
std::string MsgDepthTopAxis;
std::string Msg2D;
std::string MsgOutline;
std::string MsgSpaceTextFilter;
std::string MsgTabTextFilter;
std::string MsgCommaTextFilter;
std::string MsgColonTextFilter;
std::string MsgCustomTextFilter;
std::string MsgXmlFilter;
std::string MsgHtmlFilter;
std::string MsgExcelFilter;
std::string MsgOrthoRight;
std::string MsgOrthoLeft;
std::string Msg3DFront;
std::string Msg3DRight;
std::string Msg3DLeft;
std::string MsgAsSvg;
std::string MsgSvgFilter;
std::string MsgSubTitle;
std::string MsgSubFoot;

std::string MsgGalleryPolar;
std::string MsgGalleryCandle;
std::string MsgGalleryVolume;
std::string MsgGallerySurface;
std::string MsgGalleryContour;
std::string MsgGalleryBezier;
std::string MsgGalleryPoint3D;
std::string MsgGalleryRadar;
std::string MsgGalleryDonut;
std::string MsgGalleryCursor;
std::string MsgGalleryBar3D;
std::string MsgGalleryBigCandle;
std::string MsgGalleryLinePoint;
std::string MsgGalleryHistogram;
std::string MsgGalleryWaterFall;
std::string MsgGalleryWindRose;
std::string MsgGalleryClock;
std::string MsgGalleryColorGrid;
std::string MsgGalleryBoxPlot;
std::string MsgGalleryHorizBoxPlot;
std::string MsgGalleryBarJoin;
std::string MsgGallerySmith;
std::string MsgGalleryPyramid;
std::string MsgGalleryMap;
std::string MsgGalleryVolumePipe;
std::string MsgPolyDegreeRange;
std::string MsgAnswerVectorIndex;
std::string MsgFittingError;
std::string MsgPeriodNegative;
std::string MsgExpAverageWeight;
std::string MsgGalleryErrorBar;
std::string MsgGalleryError;
std::string MsgGalleryHighLow;
std::string MsgFunctionMomentum;
std::string MsgFunctionMomentumDivision;
std::string MsgFunctionExpAverage;
std::string MsgFunctionMovingAverage;
std::string MsgFunctionExpMovingAverage;
std::string MsgFunctionRsi;
std::string MsgFunctionCurveFitting;
std::string MsgFunctionTrend;
std::string MsgFunctionExpTrend;
std::string MsgFunctionLogTrend;
std::string MsgFunctionCumulative;
std::string MsgFunctionStdDeviation;
std::string MsgFunctionBollinger;
std::string MsgFunctionRms;
std::string MsgFunctionMacd;
std::string MsgFunctionStochastic;
std::string MsgFunctionAdx;
std::string MsgFunctionCount;
std::string MsgLoadChart;
std::string MsgSaveChart;
std::string MsgProFiles;
std::string MsgGalleryOther;
std::string MsgGalleryStats;
std::string MsgCannotFindEditor;
std::string MsgValuesDate;
std::string MsgValuesOpen;
std::string MsgValuesHigh;
std::string MsgValuesLow;
std::string MsgValuesClose;
std::string MsgValuesOffset;
std::string MsgValuesStdError;
std::string MsgGalleryGrid3D;
std::string MsgLowBezierPoints;
std::string MsgCommandNormal;
std::string MsgCommandEdit;
std::string MsgCommandPrint;
std::string MsgCommandCopy;
std::string MsgCommandSave;
std::string MsgCommand3D;
std::string MsgRotateLabel;
std::string MsgRotate;
std::string MsgMoveLabel;
std::string MsgMove;
std::string MsgZoomLabel;
std::string MsgZoom;
std::string MsgDepthLabel;
std::string MsgDepth;
std::string MsgChart;
std::string MsgPanel;
std::string MsgRotateHint;
std::string MsgMoveHint;
std::string MsgZoomHint;
std::string MsgDepthHint;
std::string MsgNormalHint;
std::string MsgNormalPieHint;
std::string MsgPieExplodeLabel;
std::string MsgFourPointsRequired;
std::string MsgColinearPoints;
std::string MsgSimilarPoints;
std::string MsgGalleryTriangleSurface;
std::string MsgAllSeries;
std::string MsgEditSeriesTool;
std::string MsgGalleryFinancial;
std::string MsgCursorTool;
std::string MsgDragMarksTool;
std::string MsgAxisArrowsTool;
std::string MsgDrawLineTool;
std::string MsgNearestPointTool;
std::string MsgColorBandTool;
std::string MsgColorLineTool;
std::string MsgRotateTool;
std::string MsgImageTool;
std::string MsgMarksTipTool;
std::string MsgAnnotationTool;
std::string MsgCantDeleteAncestor;
std::string MsgLoad;
std::string MsgDefaultChartName;
std::string MsgChartSeries;
std::string MsgAction3D;
std::string MsgAction3DHint;
std::string MsgActionSeriesActive;
std::string MsgActionSeriesActiveHint;
std::string MsgActionEditHint;
std::string MsgActionEdit;
std::string MsgActionCopyHint;
std::string MsgActionCopy;
std::string MsgActionPrintHint;
std::string MsgActionPrint;
std::string MsgActionAxesHint;
std::string MsgActionAxes;
std::string MsgActionGridsHint;
std::string MsgActionGrids;
std::string MsgActionLegendHint;
std::string MsgActionLegend;
std::string MsgActionSeriesEditHint;
std::string MsgActionSeriesMarksHint;
std::string MsgActionSeriesMarks;
std::string MsgActionSaveHint;
std::string MsgActionSave;
std::string MsgCandleBar;
std::string MsgCandleNoOpen;
std::string MsgCandleNoClose;
std::string MsgNoHigh;
std::string MsgNoLow;
std::string MsgColorRange;
std::string MsgWireframe;
std::string MsgDotFrame;
std::string MsgPositions;
std::string MsgNoGrid;
std::string MsgNoPoint;
std::string MsgNoLine;
std::string MsgLabels;
std::string MsgNoCircle;
std::string MsgLines;
std::string MsgBorder;
std::string MsgSmithResistance;
std::string MsgSmithReactance;
std::string MsgColumn;
std::string MsgSeparator;
std::string MsgFunnelSegment;
std::string MsgGalleryFunnel;
std::string MsgFunnelPercent;
std::string MsgFunnelExceed;
std::string MsgFunnelWithin;
std::string MsgFunnelBelow;
std::string MsgGalleryCalendar;
std::string MsgGalleryDeltaPoint;
std::string MsgGalleryImagePoint;
std::string MsgGalleryImageBar;
std::string MsgSeriesTextFieldError;
std::string MsgOrigin;
std::string MsgTransparency;
std::string MsgGalleryBox;
std::string MsgExtrOut;
std::string MsgMildOut;
std::string MsgPageNumberTool;
std::string MsgTextFile;
std::string MsgDragPointTool;
std::string MsgOpportunityValues;
std::string MsgQuoteValues;
std::string MsgFunctionSmoothing;
std::string MsgFunctionCrossPoints;
std::string MsgGridTransposeTool;
std::string MsgFunctionCompression;
std::string MsgExtraLegendTool;
std::string MsgFunctionCloseLocation;
std::string MsgFunctionOnBalanceVolume;
std::string MsgFunctionCommodityChannel;
std::string MsgFunctionVolumeOscillator;
std::string MsgSeriesAnimationTool;
std::string MsgGalleryPointFigure;
std::string MsgUp;
std::string MsgDown;
std::string MsgGanttDragTool;
std::string MsgXmlFile;
std::string MsgGridBandTool;
std::string MsgFunctionPerformance;
std::string MsgGalleryGauge;
std::string MsgGalleryGauges;
std::string MsgValuesEndZ;
std::string MsgGalleryVector3D;
std::string MsgGallery3D;
std::string MsgGalleryTower;
std::string MsgSingleColor;
std::string MsgCover;
std::string MsgCone;
std::string MsgPieSlices;
std::string MsgStop;
std::string MsgExecute;
std::string MsgThemes;
std::string MsgLightingTool;
std::string MsgCurrent;
std::string MsgFunctionCorrelation;
std::string MsgFunctionVariance;
std::string MsgGalleryBubble3D;
std::string MsgGalleryHorizHistogram;
std::string MsgFunctionPerimeter;
std::string MsgFunctionSurfaceNearest;
std::string MsgAxisScrollTool;
std::string MsgRectangleTool;
std::string MsgGalleryPolarBar;
std::string MsgAsWapBitmap;
std::string MsgWapBitmapFilter;
std::string MsgClipSeriesTool;
std::string MsgSeriesBandTool;
std::string MsgGalleryFacts;
std::string MsgFunctionDownSampling;
std::string MsgSelectorTool;
std::string MsgLegendScrollbarTool;
std::string MsgDataTableTool;

std::string DefaultFileFilter() { return "(*." + ChartFileExtension + ")|*." + ChartFileExtension; }

const std::vector<std::string*>& ChartMessageVariables() {
  static const std::vector<std::string*> kVariables = {
      &MsgOwnerLine,
      &MsgTest,
      &MsgLegendFirstValue,
      &MsgLegendColorWidth,
      &MsgNoParentChart,
      &MsgInvalidDataSource,
      &MsgFillSample,
      &MsgAxisDateTimeLogarithmic,
      &MsgAxisLogarithmicNegative,
      &MsgAxisLabelSeparation,
      &MsgAxisIncrementNegative,
      &MsgAxisMinMax,
      &MsgAxisMaxMin,
      &MsgAxisLogarithmicBase,
      &MsgMaxPointsPerPage,
      &Msg3DPercent,
      &MsgCircularSeries,
      &MsgWarningHiColor,
      &MsgDefaultPercentOf,
      &MsgDefaultPercentOf2,
      &MsgDefaultPercentFormat,
      &MsgDefaultValueFormat,
      &MsgDefaultLogValueFormat,
      &MsgAxisTitle,
      &MsgAxisLabels,
      &MsgRefreshInterval,
      &MsgSeriesParentNoSelf,
      &MsgGalleryLine,
      &MsgGalleryPoint,
      &MsgGalleryArea,
      &MsgGalleryBar,
      &MsgGalleryHorizBar,
      &MsgStack,
      &MsgGalleryPie,
      &MsgGalleryCircled,
      &MsgGalleryFastLine,
      &MsgGalleryHorizLine,
      &MsgPieSampleCars,
      &MsgPieSamplePhones,
      &MsgPieSampleTables,
      &MsgPieSampleMonitors,
      &MsgPieSampleLamps,
      &MsgPieSampleKeyboards,
      &MsgPieSampleBikes,
      &MsgPieSampleChairs,
      &MsgFontCourierNew,
      &MsgEditing,
      &MsgGalleryStandard,
      &MsgGalleryExtended,
      &MsgGalleryFunctions,
      &MsgEditChart,
      &MsgPrintPreview,
      &MsgExportChart,
      &MsgCustomAxes,
      &MsgInvalidEditorClass,
      &MsgMissingEditorDialog,
      &MsgGalleryArrow,
      &MsgWizardFinish,
      &MsgWizardNext,
      &MsgGalleryGantt,
      &MsgGanttSampleDesign,
      &MsgGanttSamplePrototyping,
      &MsgGanttSampleDevelopment,
      &MsgGanttSampleSales,
      &MsgGanttSampleMarketing,
      &MsgGanttSampleTesting,
      &MsgGanttSampleManufacturing,
      &MsgGanttSampleDebugging,
      &MsgGanttSampleNewVersion,
      &MsgGanttSampleBanking,
      &MsgChangeSeriesTitle,
      &MsgNewSeriesTitle,
      &MsgDateTime,
      &MsgTopAxis,
      &MsgBottomAxis,
      &MsgLeftAxis,
      &MsgRightAxis,
      &MsgSureToDelete,
      &MsgDateTimeFormat,
      &MsgDefault,
      &MsgValuesFormat,
      &MsgMaximum,
      &MsgMinimum,
      &MsgDesiredIncrement,
      &MsgIncorrectValue,
      &MsgEnterDateTime,
      &MsgSureToApply,
      &MsgSelectedSeries,
      &MsgRefreshData,
      &MsgDefaultFontSize,
      &MsgDefaultEditorWidth,
      &MsgDefaultEditorHeight,
      &MsgFunctionAdd,
      &MsgFunctionSubtract,
      &MsgFunctionMultiply,
      &MsgFunctionDivide,
      &MsgFunctionHigh,
      &MsgFunctionLow,
      &MsgFunctionAverage,
      &MsgGalleryShape,
      &MsgGalleryBubble,
      &MsgFunctionCopy,
      &MsgFunctionNone,
      &MsgPrivateDeclarations,
      &MsgPublicDeclarations,
      &MsgDefaultFontName,
      &MsgCheckPointerSize,
      &MsgAbout,
      &MsgPaletteAdditional,
      &MsgPaletteDataControls,
      &MsgPaletteReports,
      &MsgDataSet,
      &MsgAskDataSet,
      &MsgSingleRecord,
      &MsgAskDataSource,
      &MsgSummary,
      &MsgFunctionPeriod,
      &MsgWizardTab,
      &MsgWizard,
      &MsgClearImage,
      &MsgBrowseImage,
      &MsgWizardSureToClose,
      &MsgFieldNotFound,
      &MsgDepthRightAxis,
      &MsgPieOther,
      &MsgSampleText,
      &MsgSampleNumber,
      &MsgValuesX,
      &MsgValuesY,
      &MsgValuesPie,
      &MsgValuesBar,
      &MsgValuesAngle,
      &MsgValuesGanttStart,
      &MsgValuesGanttEnd,
      &MsgValuesGanttNextTask,
      &MsgValuesBubbleRadius,
      &MsgValuesArrowEndX,
      &MsgValuesArrowEndY,
      &MsgLegend,
      &MsgTitle,
      &MsgFoot,
      &MsgPeriod,
      &MsgPeriodRange,
      &MsgCalculateEvery,
      &MsgSmallDots,
      &MsgInvalidChartFile,
      &MsgWrongChartFileFormat,
      &MsgEmptyChartFile,
      &MsgChartAxes,
      &MsgChartAxesHint,
      &MsgChartWalls,
      &MsgChartWallsHint,
      &MsgChartTitles,
      &MsgChartTitlesHint,
      &MsgChart3D,
      &MsgChart3DHint,
      &MsgCustomPrefix,
      &MsgSeries,
      &MsgSeriesMenu,
      &MsgPageOfPages,
      &MsgFileSize,
      &MsgFirst,
      &MsgPrior,
      &MsgNext,
      &MsgLast,
      &MsgInsert,
      &MsgDelete,
      &MsgEdit,
      &MsgPost,
      &MsgCancel,
      &MsgAll,
      &MsgIndex,
      &MsgText,
      &MsgAsBitmap,
      &MsgBitmapFilter,
      &MsgAsMetafile,
      &MsgMetafileFilter,
      &MsgExportPanelNotSet,
      &MsgNormal,
      &MsgNoBorder,
      &MsgDotted,
      &MsgColors,
      &MsgFilled,
      &MsgMarks,
      &MsgStairs,
      &MsgPoints,
      &MsgHeight,
      &MsgHollow,
      &MsgPoint2D,
      &MsgTriangle,
      &MsgStar,
      &MsgCircle,
      &MsgDownTriangle,
      &MsgCross,
      &MsgDiamond,
      &MsgNoLines,
      &MsgStack100,
      &MsgPyramid,
      &MsgEllipse,
      &MsgInvPyramid,
      &MsgSides,
      &MsgSideAll,
      &MsgPatterns,
      &MsgExploded,
      &MsgShadow,
      &MsgSemiPie,
      &MsgRectangle,
      &MsgVertLine,
      &MsgHorizLine,
      &MsgLine,
      &MsgCube,
      &MsgDiagCross,
      &MsgCanNotFindTempPath,
      &MsgCanNotCreateTempChart,
      &MsgCanNotEmailChart,
      &MsgSeriesDelete,
      &MsgNoSeriesSelected,
      &MsgErrorDownloadingChart,
      &MsgErrorDownloadingSeries,
      &MsgAsJpeg,
      &MsgJpegFilter,
      &MsgAsGif,
      &MsgGifFilter,
      &MsgAsPng,
      &MsgPngFilter,
      &MsgAsPcx,
      &MsgPcxFilter,
      &MsgAsVml,
      &MsgVmlFilter,
      &MsgAskLanguage,
      &MsgGradient,
      &MsgWantToSave,
      &MsgNativeFilter,
      &MsgProperty,
      &MsgValue,
      &MsgYes,
      &MsgNo,
      &MsgImage,
      &MsgFunctionOfX,
      &MsgAsPdf,
      &MsgPdfFilter,
      &MsgAsPostScript,
      &MsgPostScriptFilter,
      &MsgGalleryHorizArea,
      &MsgSelfStack,
      &MsgDarkPen,
      &MsgSelectFolder,
      &MsgAskAlias,
      &MsgAskConnection,
      &MsgApply,
      &MsgAddNewGroup,
      &MsgChangeGroupName,
      &MsgGroupName,
      &MsgFunctionMedian,
      &MsgFunctionMode,
      &MsgOptions,
      &MsgDepthTopAxis,
      &Msg2D,
      &MsgOutline,
      &MsgSpaceTextFilter,
      &MsgTabTextFilter,
      &MsgCommaTextFilter,
      &MsgColonTextFilter,
      &MsgCustomTextFilter,
      &MsgXmlFilter,
      &MsgHtmlFilter,
      &MsgExcelFilter,
      &MsgOrthoRight,
      &MsgOrthoLeft,
      &Msg3DFront,
      &Msg3DRight,
      &Msg3DLeft,
      &MsgAsSvg,
      &MsgSvgFilter,
      &MsgSubTitle,
      &MsgSubFoot,
  };
  return kVariables;
}

const std::vector<std::string*>& FurtherChartMessageVariables() {
  static const std::vector<std::string*> kVariables = {
      &MsgGalleryPolar,
      &MsgGalleryCandle,
      &MsgGalleryVolume,
      &MsgGallerySurface,
      &MsgGalleryContour,
      &MsgGalleryBezier,
      &MsgGalleryPoint3D,
      &MsgGalleryRadar,
      &MsgGalleryDonut,
      &MsgGalleryCursor,
      &MsgGalleryBar3D,
      &MsgGalleryBigCandle,
      &MsgGalleryLinePoint,
      &MsgGalleryHistogram,
      &MsgGalleryWaterFall,
      &MsgGalleryWindRose,
      &MsgGalleryClock,
      &MsgGalleryColorGrid,
      &MsgGalleryBoxPlot,
      &MsgGalleryHorizBoxPlot,
      &MsgGalleryBarJoin,
      &MsgGallerySmith,
      &MsgGalleryPyramid,
      &MsgGalleryMap,
      &MsgGalleryVolumePipe,
      &MsgPolyDegreeRange,
      &MsgAnswerVectorIndex,
      &MsgFittingError,
      &MsgPeriodNegative,
      &MsgExpAverageWeight,
      &MsgGalleryErrorBar,
      &MsgGalleryError,
      &MsgGalleryHighLow,
      &MsgFunctionMomentum,
      &MsgFunctionMomentumDivision,
      &MsgFunctionExpAverage,
      &MsgFunctionMovingAverage,
      &MsgFunctionExpMovingAverage,
      &MsgFunctionRsi,
      &MsgFunctionCurveFitting,
      &MsgFunctionTrend,
      &MsgFunctionExpTrend,
      &MsgFunctionLogTrend,
      &MsgFunctionCumulative,
      &MsgFunctionStdDeviation,
      &MsgFunctionBollinger,
      &MsgFunctionRms,
      &MsgFunctionMacd,
      &MsgFunctionStochastic,
      &MsgFunctionAdx,
      &MsgFunctionCount,
      &MsgLoadChart,
      &MsgSaveChart,
      &MsgProFiles,
      &MsgGalleryOther,
      &MsgGalleryStats,
      &MsgCannotFindEditor,
      &MsgValuesDate,
      &MsgValuesOpen,
      &MsgValuesHigh,
      &MsgValuesLow,
      &MsgValuesClose,
      &MsgValuesOffset,
      &MsgValuesStdError,
      &MsgGalleryGrid3D,
      &MsgLowBezierPoints,
      &MsgCommandNormal,
      &MsgCommandEdit,
      &MsgCommandPrint,
      &MsgCommandCopy,
      &MsgCommandSave,
      &MsgCommand3D,
      &MsgRotateLabel,
      &MsgRotate,
      &MsgMoveLabel,
      &MsgMove,
      &MsgZoomLabel,
      &MsgZoom,
      &MsgDepthLabel,
      &MsgDepth,
      &MsgChart,
      &MsgPanel,
      &MsgRotateHint,
      &MsgMoveHint,
      &MsgZoomHint,
      &MsgDepthHint,
      &MsgNormalHint,
      &MsgNormalPieHint,
      &MsgPieExplodeLabel,
      &MsgFourPointsRequired,
      &MsgColinearPoints,
      &MsgSimilarPoints,
      &MsgGalleryTriangleSurface,
      &MsgAllSeries,
      &MsgEditSeriesTool,
      &MsgGalleryFinancial,
      &MsgCursorTool,
      &MsgDragMarksTool,
      &MsgAxisArrowsTool,
      &MsgDrawLineTool,
      &MsgNearestPointTool,
      &MsgColorBandTool,
      &MsgColorLineTool,
      &MsgRotateTool,
      &MsgImageTool,
      &MsgMarksTipTool,
      &MsgAnnotationTool,
      &MsgCantDeleteAncestor,
      &MsgLoad,
      &MsgDefaultChartName,
      &MsgChartSeries,
      &MsgAction3D,
      &MsgAction3DHint,
      &MsgActionSeriesActive,
      &MsgActionSeriesActiveHint,
      &MsgActionEditHint,
      &MsgActionEdit,
      &MsgActionCopyHint,
      &MsgActionCopy,
      &MsgActionPrintHint,
      &MsgActionPrint,
      &MsgActionAxesHint,
      &MsgActionAxes,
      &MsgActionGridsHint,
      &MsgActionGrids,
      &MsgActionLegendHint,
      &MsgActionLegend,
      &MsgActionSeriesEditHint,
      &MsgActionSeriesMarksHint,
      &MsgActionSeriesMarks,
      &MsgActionSaveHint,
      &MsgActionSave,
      &MsgCandleBar,
      &MsgCandleNoOpen,
      &MsgCandleNoClose,
      &MsgNoHigh,
      &MsgNoLow,
      &MsgColorRange,
      &MsgWireframe,
      &MsgDotFrame,
      &MsgPositions,
      &MsgNoGrid,
      &MsgNoPoint,
      &MsgNoLine,
      &MsgLabels,
      &MsgNoCircle,
      &MsgLines,
      &MsgBorder,
      &MsgSmithResistance,
      &MsgSmithReactance,
      &MsgColumn,
      &MsgSeparator,
      &MsgFunnelSegment,
      &MsgGalleryFunnel,
      &MsgFunnelPercent,
      &MsgFunnelExceed,
      &MsgFunnelWithin,
      &MsgFunnelBelow,
      &MsgGalleryCalendar,
      &MsgGalleryDeltaPoint,
      &MsgGalleryImagePoint,
      &MsgGalleryImageBar,
      &MsgSeriesTextFieldError,
      &MsgOrigin,
      &MsgTransparency,
      &MsgGalleryBox,
      &MsgExtrOut,
      &MsgMildOut,
      &MsgPageNumberTool,
      &MsgTextFile,
      &MsgDragPointTool,
      &MsgOpportunityValues,
      &MsgQuoteValues,
      &MsgFunctionSmoothing,
      &MsgFunctionCrossPoints,
      &MsgGridTransposeTool,
      &MsgFunctionCompression,
      &MsgExtraLegendTool,
      &MsgFunctionCloseLocation,
      &MsgFunctionOnBalanceVolume,
      &MsgFunctionCommodityChannel,
      &MsgFunctionVolumeOscillator,
      &MsgSeriesAnimationTool,
      &MsgGalleryPointFigure,
      &MsgUp,
      &MsgDown,
      &MsgGanttDragTool,
      &MsgXmlFile,
      &MsgGridBandTool,
      &MsgFunctionPerformance,
      &MsgGalleryGauge,
      &MsgGalleryGauges,
      &MsgValuesEndZ,
      &MsgGalleryVector3D,
      &MsgGallery3D,
      &MsgGalleryTower,
      &MsgSingleColor,
      &MsgCover,
      &MsgCone,
      &MsgPieSlices,
      &MsgStop,
      &MsgExecute,
      &MsgThemes,
      &MsgLightingTool,
      &MsgCurrent,
      &MsgFunctionCorrelation,
      &MsgFunctionVariance,
      &MsgGalleryBubble3D,
      &MsgGalleryHorizHistogram,
      &MsgFunctionPerimeter,
      &MsgFunctionSurfaceNearest,
      &MsgAxisScrollTool,
      &MsgRectangleTool,
      &MsgGalleryPolarBar,
      &MsgAsWapBitmap,
      &MsgWapBitmapFilter,
      &MsgClipSeriesTool,
      &MsgSeriesBandTool,
      &MsgGalleryFacts,
      &MsgFunctionDownSampling,
      &MsgSelectorTool,
      &MsgLegendScrollbarTool,
      &MsgDataTableTool,
  };
  return kVariables;
}

void InitChartMessages() {
  // A shut-down empties the extension with the texts; a later start-up brings the default back.
  if (ChartFileExtension.empty()) ChartFileExtension = "drx";
  MsgOwnerLine = "HarvSim chart library";
  MsgTest = "Test...";
  MsgLegendFirstValue = "First Legend Value must be > 0";
  MsgLegendColorWidth = "Legend Color Width must be > 0%";
  MsgNoParentChart = "No ParentChart to validate DataSource";
  MsgInvalidDataSource = "No valid DataSource: %s";
  MsgFillSample = "FillSampleValues NumValues must be > 0";
  MsgAxisDateTimeLogarithmic = "DateTime Axis cannot be Logarithmic";
  MsgAxisLogarithmicNegative = "Logarithmic Axis Min and Max values should be >= 0";
  MsgAxisLabelSeparation = "Labels Separation % must be greater than 0";
  MsgAxisIncrementNegative = "Axis increment must be >= 0";
  MsgAxisMinMax = "Axis Minimum Value must be <= Maximum";
  MsgAxisMaxMin = "Axis Maximum Value must be >= Minimum";
  MsgAxisLogarithmicBase = "Axis Logarithmic Base should be <> 1 and > 0";
  MsgMaxPointsPerPage = "MaxPointsPerPage must be >= 0";
  Msg3DPercent = "3D effect percent must be between %d and %d";
  MsgCircularSeries = "Circular Series dependences are not allowed";
  MsgWarningHiColor = "16k Color or greater required to get better look";
  MsgDefaultPercentOf = "%s of %s";
  MsgDefaultPercentOf2 = "%s\rof %s";
  MsgDefaultPercentFormat = "##0.## %";
  MsgDefaultValueFormat = "#,##0.###";
  MsgDefaultLogValueFormat = "#.0 \"x10\" E+0";
  MsgAxisTitle = "Axis Title";
  MsgAxisLabels = "Axis Labels";
  MsgRefreshInterval = "Refresh Interval must be between 0 and 60";
  MsgSeriesParentNoSelf = "Series.ParentChart is not myself!";
  MsgGalleryLine = "Line";
  MsgGalleryPoint = "Point";
  MsgGalleryArea = "Area";
  MsgGalleryBar = "Bar";
  MsgGalleryHorizBar = "Horizontal\rBar";
  MsgStack = "Stack";
  MsgGalleryPie = "Pie";
  MsgGalleryCircled = "Circled";
  MsgGalleryFastLine = "Fast Line";
  MsgGalleryHorizLine = "Horizontal\rLine";
  MsgPieSampleCars = "Cars";
  MsgPieSamplePhones = "Phones";
  MsgPieSampleTables = "Tables";
  MsgPieSampleMonitors = "Monitors";
  MsgPieSampleLamps = "Lamps";
  MsgPieSampleKeyboards = "Keyboards";
  MsgPieSampleBikes = "Bikes";
  MsgPieSampleChairs = "Chairs";
  MsgFontCourierNew = "Courier New";
  MsgEditing = "Editing %s";
  MsgGalleryStandard = "Standard";
  MsgGalleryExtended = "Extended";
  MsgGalleryFunctions = "Functions";
  MsgEditChart = "E&dit Chart...";
  MsgPrintPreview = "&Print Preview...";
  MsgExportChart = "E&xport Chart...";
  MsgCustomAxes = "Custom Axes...";
  MsgInvalidEditorClass = "%s: Invalid Editor Class: %s";
  MsgMissingEditorDialog = "%s: has no Editor Dialog";
  MsgGalleryArrow = "Arrow";
  MsgWizardFinish = "&Finish";
  MsgWizardNext = "&Next >";
  MsgGalleryGantt = "Gantt";
  MsgGanttSampleDesign = "Design";
  MsgGanttSamplePrototyping = "Prototyping";
  MsgGanttSampleDevelopment = "Development";
  MsgGanttSampleSales = "Sales";
  MsgGanttSampleMarketing = "Marketing";
  MsgGanttSampleTesting = "Testing";
  MsgGanttSampleManufacturing = "Manufac.";
  MsgGanttSampleDebugging = "Debugging";
  MsgGanttSampleNewVersion = "New Version";
  MsgGanttSampleBanking = "Banking";
  MsgChangeSeriesTitle = "Change Series Title";
  MsgNewSeriesTitle = "New Series Title:";
  MsgDateTime = "DateTime";
  MsgTopAxis = "Top Axis";
  MsgBottomAxis = "Bottom Axis";
  MsgLeftAxis = "Left Axis";
  MsgRightAxis = "Right Axis";
  MsgSureToDelete = "Delete %s ?";
  MsgDateTimeFormat = "DateTime For&mat:";
  MsgDefault = "Default";
  MsgValuesFormat = "Values For&mat:";
  MsgMaximum = "Maximum";
  MsgMinimum = "Minimum";
  MsgDesiredIncrement = "Desired %s Increment";
  MsgIncorrectValue = "Incorrect value. Reason: %s";
  MsgEnterDateTime = "Enter [Number of Days] [hh:nn:ss]";
  MsgSureToApply = "Apply Changes ?";
  MsgSelectedSeries = "(Selected Series)";
  MsgRefreshData = "&Refresh Data";
  MsgDefaultFontSize = "8";
  MsgDefaultEditorWidth = "414";
  MsgDefaultEditorHeight = "347";
  MsgFunctionAdd = "Add";
  MsgFunctionSubtract = "Subtract";
  MsgFunctionMultiply = "Multiply";
  MsgFunctionDivide = "Divide";
  MsgFunctionHigh = "High";
  MsgFunctionLow = "Low";
  MsgFunctionAverage = "Average";
  MsgGalleryShape = "Shape";
  MsgGalleryBubble = "Bubble";
  MsgFunctionCopy = "Copy";
  MsgFunctionNone = "(none)";
  MsgPrivateDeclarations = "{ Private declarations }";
  MsgPublicDeclarations = "{ Public declarations }";
  MsgDefaultFontName = "Arial";
  MsgCheckPointerSize = "Pointer size must be greater than zero";
  MsgAbout = "Abo&ut Dravonix...";
  MsgPaletteAdditional = "Additional";
  MsgPaletteDataControls = "Data Controls";
  MsgPaletteReports = "Reports";
  MsgDataSet = "Dataset";
  MsgAskDataSet = "&Dataset:";
  MsgSingleRecord = "Single Record";
  MsgAskDataSource = "&DataSource:";
  MsgSummary = "Summary";
  MsgFunctionPeriod = "Function Period should be >= 0";
  MsgWizardTab = "Business";
  MsgWizard = "Dravonix Wizard";
  MsgClearImage = "Clea&r";
  MsgBrowseImage = "B&rowse...";
  MsgWizardSureToClose = "Are you sure that you want to close the Dravonix Wizard ?";
  MsgFieldNotFound = "Field %s does not exist";
  MsgDepthRightAxis = "Depth Right";
  MsgPieOther = "Other";
  MsgSampleText = "abc";
  MsgSampleNumber = "123";
  MsgValuesX = "X";
  MsgValuesY = "Y";
  MsgValuesPie = "Pie";
  MsgValuesBar = "Bar";
  MsgValuesAngle = "Angle";
  MsgValuesGanttStart = "Start";
  MsgValuesGanttEnd = "End";
  MsgValuesGanttNextTask = "NextTask";
  MsgValuesBubbleRadius = "Radius";
  MsgValuesArrowEndX = "EndX";
  MsgValuesArrowEndY = "EndY";
  MsgLegend = "Legend";
  MsgTitle = "Title";
  MsgFoot = "Footer";
  MsgPeriod = "Period";
  MsgPeriodRange = "Period range";
  MsgCalculateEvery = "Calculate %s every:";
  MsgSmallDots = "Small Dots";
  MsgInvalidChartFile = "Invalid Chart in *." + ChartFileExtension + " file";
  MsgWrongChartFileFormat = "Wrong *." + ChartFileExtension + " file format";
  MsgEmptyChartFile = "Empty *." + ChartFileExtension + " file";
  MsgChartAxes = "Chart Axes";
  MsgChartAxesHint = "Chart Axes properties and events";
  MsgChartWalls = "Chart Walls";
  MsgChartWallsHint = "Chart Walls properties and events";
  MsgChartTitles = "Chart Titles";
  MsgChartTitlesHint = "Chart Titles properties and events";
  MsgChart3D = "Chart 3D";
  MsgChart3DHint = "Chart 3D properties and events";
  MsgCustomPrefix = "Custom ";
  MsgSeries = "Series";
  MsgSeriesMenu = "Series...";
  MsgPageOfPages = "Page %d of %d";
  MsgFileSize = "%d bytes";
  MsgFirst = "First";
  MsgPrior = "Prior";
  MsgNext = "Next";
  MsgLast = "Last";
  MsgInsert = "Insert";
  MsgDelete = "Delete";
  MsgEdit = "Edit";
  MsgPost = "Post";
  MsgCancel = "Cancel";
  MsgAll = "(all)";
  MsgIndex = "Index";
  MsgText = "Text";
  MsgAsBitmap = "as &Bitmap";
  MsgBitmapFilter = "Bitmaps (*.bmp)|*.bmp";
  MsgAsMetafile = "as &Metafile";
  MsgMetafileFilter = "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
  MsgExportPanelNotSet = "Panel property is not set in Export format";
  MsgNormal = "Normal";
  MsgNoBorder = "No Border";
  MsgDotted = "Dotted";
  MsgColors = "Colors";
  MsgFilled = "Filled";
  MsgMarks = "Marks";
  MsgStairs = "Stairs";
  MsgPoints = "Points";
  MsgHeight = "Height";
  MsgHollow = "Hollow";
  MsgPoint2D = "Point 2D";
  MsgTriangle = "Triangle";
  MsgStar = "Star";
  MsgCircle = "Circle";
  MsgDownTriangle = "Down Tri.";
  MsgCross = "Cross";
  MsgDiamond = "Diamond";
  MsgNoLines = "No Lines";
  MsgStack100 = "Stack 100%";
  MsgPyramid = "Pyramid";
  MsgEllipse = "Ellipse";
  MsgInvPyramid = "Inv. Pyramid";
  MsgSides = "Sides";
  MsgSideAll = "Side All";
  MsgPatterns = "Patterns";
  MsgExploded = "Exploded";
  MsgShadow = "Shadow";
  MsgSemiPie = "Semi Pie";
  MsgRectangle = "Rectangle";
  MsgVertLine = "Vert.Line";
  MsgHorizLine = "Horiz.Line";
  MsgLine = "Line";
  MsgCube = "Cube";
  MsgDiagCross = "Diag.Cross";
  MsgCanNotFindTempPath = "Can not find Temp folder";
  MsgCanNotCreateTempChart = "Can not create Temp file";
  MsgCanNotEmailChart = "Can not email Dravonix. Mapi Error: %d";
  MsgSeriesDelete = "Series Delete: ValueIndex %d out of bounds (0 to %d).";
  MsgNoSeriesSelected = "No Series selected";
  MsgErrorDownloadingChart = "Error code: %d downloading Chart from URL: %s";
  MsgErrorDownloadingSeries = "Error code: %d downloading Series data from URL: %s";
  MsgAsJpeg = "as &JPEG";
  MsgJpegFilter = "JPEG files (*.jpg)|*.jpg";
  MsgAsGif = "as &GIF";
  MsgGifFilter = "GIF files (*.gif)|*.gif";
  MsgAsPng = "as &PNG";
  MsgPngFilter = "PNG files (*.png)|*.png";
  MsgAsPcx = "as PC&X";
  MsgPcxFilter = "PCX files (*.pcx)|*.pcx";
  MsgAsVml = "as &VML (HTM)";
  MsgVmlFilter = "VML files (*.htm)|*.htm";
  MsgAskLanguage = "&Language...";
  MsgGradient = "Gradient";
  MsgWantToSave = "Do you want to save %s?";
  MsgNativeFilter = "Dravonix files " + DefaultFileFilter();
  MsgProperty = "Property";
  MsgValue = "Value";
  MsgYes = "Yes";
  MsgNo = "No";
  MsgImage = "(image)";
  MsgFunctionOfX = "y = f(x)";
  MsgAsPdf = "as &PDF";
  MsgPdfFilter = "PDF files (*.pdf)|*.pdf";
  MsgAsPostScript = "as PostScript";
  MsgPostScriptFilter = "PostScript files (*.eps)|*.eps";
  MsgGalleryHorizArea = "Horizontal\rArea";
  MsgSelfStack = "Self Stacked";
  MsgDarkPen = "Dark Border";
  MsgSelectFolder = "Select database folder";
  MsgAskAlias = "&Alias:";
  MsgAskConnection = "&Connection:";
  MsgApply = "&Apply";
  MsgAddNewGroup = "Add new group";
  MsgChangeGroupName = "Change group name";
  MsgGroupName = "Group name:";
  MsgFunctionMedian = "Median";
  MsgFunctionMode = "Mode";
  MsgOptions = "&Options...";
  MsgDepthTopAxis = "Depth Top";
  Msg2D = "2D";
  MsgOutline = "Outline";
  MsgSpaceTextFilter = "Space delimited text files (*.txt)|*.txt";
  MsgTabTextFilter = "Tab delimited text files (*.txt)|*.txt";
  MsgCommaTextFilter = "Comma delimited text files (*.csv)|*.csv";
  MsgColonTextFilter = "Colon delimited text files (*.txt)|*.txt";
  MsgCustomTextFilter = "Custom delimited text files (*.txt)|*.txt";
  MsgXmlFilter = "XML files (*.xml)|*.xml";
  MsgHtmlFilter = "HTML files (*.htm)|*.htm";
  MsgExcelFilter = "Microsoft Excel files (*.xls)|*.xls";
  MsgOrthoRight = "Ortho Right";
  MsgOrthoLeft = "Ortho Left";
  Msg3DFront = "3D Front";
  Msg3DRight = "3D Right";
  Msg3DLeft = "3D Left";
  MsgAsSvg = "as &SVG";
  MsgSvgFilter = "SVG files (*.svg)|*.svg";
  MsgSubTitle = "SubTitle";
  MsgSubFoot = "SubFoot";
}

void ClearChartMessages() {
  for (std::string* text : ChartMessageVariables()) text->clear();
  ChartFileExtension.clear();
}

// "ｰ" in the rotation label is the CP932 byte 0xB0, which the program's degree sign shows as.
void InitFurtherChartMessages() {
  MsgGalleryPolar = "Polar";
  MsgGalleryCandle = "Candle";
  MsgGalleryVolume = "Volume";
  MsgGallerySurface = "Surface";
  MsgGalleryContour = "Contour";
  MsgGalleryBezier = "Bezier";
  MsgGalleryPoint3D = "Point 3D";
  MsgGalleryRadar = "Radar";
  MsgGalleryDonut = "Donut";
  MsgGalleryCursor = "Cursor";
  MsgGalleryBar3D = "Bar 3D";
  MsgGalleryBigCandle = "Big Candle";
  MsgGalleryLinePoint = "Line Point";
  MsgGalleryHistogram = "Histogram";
  MsgGalleryWaterFall = "Water Fall";
  MsgGalleryWindRose = "Wind Rose";
  MsgGalleryClock = "Clock";
  MsgGalleryColorGrid = "Color Grid";
  MsgGalleryBoxPlot = "BoxPlot";
  MsgGalleryHorizBoxPlot = "Horizontal\rBoxPlot";
  MsgGalleryBarJoin = "Bar Join";
  MsgGallerySmith = "Smith";
  MsgGalleryPyramid = "Pyramid";
  MsgGalleryMap = "Map";
  MsgGalleryVolumePipe = "VolumePipe";
  MsgPolyDegreeRange = "Polynomial degree must be between 1 and 20";
  MsgAnswerVectorIndex = "Answer Vector index must be between 1 and %d";
  MsgFittingError = "Cannot process fitting";
  MsgPeriodNegative = "Period must be >= 0";
  MsgExpAverageWeight = "ExpAverage Weight must be between 0 and 1";
  MsgGalleryErrorBar = "Error Bar";
  MsgGalleryError = "Error";
  MsgGalleryHighLow = "High-Low";
  MsgFunctionMomentum = "Momentum";
  MsgFunctionMomentumDivision = "Momentum\rDivision";
  MsgFunctionExpAverage = "Exponential\rAverage";
  MsgFunctionMovingAverage = "Moving\rAverage";
  MsgFunctionExpMovingAverage = "Exp.Moving\rAverage";
  MsgFunctionRsi = "R.S.I.";
  MsgFunctionCurveFitting = "Curve Fitting";
  MsgFunctionTrend = "Trend";
  MsgFunctionExpTrend = "Exponential\rTrend";
  MsgFunctionLogTrend = "Logarithmic\rTrend";
  MsgFunctionCumulative = "Cumulative";
  MsgFunctionStdDeviation = "Standard\rDeviation";
  MsgFunctionBollinger = "Bollinger\rbands";
  MsgFunctionRms = "Root Mean\rSquare";
  MsgFunctionMacd = "MACD";
  MsgFunctionStochastic = "Stochastic";
  MsgFunctionAdx = "ADX";
  MsgFunctionCount = "Count";
  MsgLoadChart = "Open Dravonix...";
  MsgSaveChart = "Save Dravonix...";
  MsgProFiles = "Dravonix Pro files";
  MsgGalleryOther = "Other";
  MsgGalleryStats = "Stats";
  MsgCannotFindEditor = "Cannot find Series editor Form: %s";
  MsgValuesDate = "Date";
  MsgValuesOpen = "Open";
  MsgValuesHigh = "High";
  MsgValuesLow = "Low";
  MsgValuesClose = "Close";
  MsgValuesOffset = "Offset";
  MsgValuesStdError = "StdError";
  MsgGalleryGrid3D = "Grid 3D";
  MsgLowBezierPoints = "Number of Bezier points should be > 1";
  MsgCommandNormal = "Normal";
  MsgCommandEdit = "Edit";
  MsgCommandPrint = "Print";
  MsgCommandCopy = "Copy";
  MsgCommandSave = "Save";
  MsgCommand3D = "3D";
  MsgRotateLabel = "Rotation: %d\xB0 Elevation: %d\xB0";
  MsgRotate = "Rotate";
  MsgMoveLabel = "Horiz.Offset: %d Vert.Offset: %d";
  MsgMove = "Move";
  MsgZoomLabel = "Zoom: %d %%";
  MsgZoom = "Zoom";
  MsgDepthLabel = "3D: %d %%";
  MsgDepth = "Depth";
  MsgChart = "Chart";
  MsgPanel = "Panel";
  MsgRotateHint = "Drag %s to Rotate";
  MsgMoveHint = "Drag %s to Move";
  MsgZoomHint = "Drag %s to Zoom";
  MsgDepthHint = "Drag %s to resize 3D";
  MsgNormalHint = "Drag Left button to Zoom, Right button to Scroll";
  MsgNormalPieHint = "Drag a Pie Slice to Explode it";
  MsgPieExplodeLabel = "Slice: %d Exploded: %d %%";
  MsgFourPointsRequired = "Number of points must be >= 4";
  MsgColinearPoints = "All colinear data points";
  MsgSimilarPoints = "Similar XYZ points. Cannot calculate triangles.";
  MsgGalleryTriangleSurface = "Triangle Surf.";
  MsgAllSeries = "All Series";
  MsgEditSeriesTool = "Edit";
  MsgGalleryFinancial = "Financial";
  MsgCursorTool = "Cursor";
  MsgDragMarksTool = "Drag Marks";
  MsgAxisArrowsTool = "Axis Arrows";
  MsgDrawLineTool = "Draw Line";
  MsgNearestPointTool = "Nearest Point";
  MsgColorBandTool = "Color Band";
  MsgColorLineTool = "Color Line";
  MsgRotateTool = "Rotate";
  MsgImageTool = "Image";
  MsgMarksTipTool = "Mark Tips";
  MsgAnnotationTool = "Annotation";
  MsgCantDeleteAncestor = "Can not delete ancestor";
  MsgLoad = "Load...";
  MsgDefaultChartName = "Chart";
  MsgChartSeries = "Chart Series";
  MsgAction3D = "&3D";
  MsgAction3DHint = "Switch 2D / 3D";
  MsgActionSeriesActive = "&Active";
  MsgActionSeriesActiveHint = "Show / Hide Series";
  MsgActionEditHint = "Edit Chart";
  MsgActionEdit = "&Edit...";
  MsgActionCopyHint = "Copy to Clipboard";
  MsgActionCopy = "&Copy";
  MsgActionPrintHint = "Print preview Chart";
  MsgActionPrint = "&Print...";
  MsgActionAxesHint = "Show / Hide Axes";
  MsgActionAxes = "&Axes";
  MsgActionGridsHint = "Show / Hide Grids";
  MsgActionGrids = "&Grids";
  MsgActionLegendHint = "Show / Hide Legend";
  MsgActionLegend = "&Legend";
  MsgActionSeriesEditHint = "Edit Series";
  MsgActionSeriesMarksHint = "Show / Hide Series Marks";
  MsgActionSeriesMarks = "&Marks";
  MsgActionSaveHint = "Save Chart";
  MsgActionSave = "&Save...";
  MsgCandleBar = "Bar";
  MsgCandleNoOpen = "No Open";
  MsgCandleNoClose = "No Close";
  MsgNoHigh = "No High";
  MsgNoLow = "No Low";
  MsgColorRange = "Color Range";
  MsgWireframe = "Wireframe";
  MsgDotFrame = "Dot Frame";
  MsgPositions = "Positions";
  MsgNoGrid = "No Grid";
  MsgNoPoint = "No Point";
  MsgNoLine = "No Line";
  MsgLabels = "Labels";
  MsgNoCircle = "No Circle";
  MsgLines = "Lines";
  MsgBorder = "Border";
  MsgSmithResistance = "Resistance";
  MsgSmithReactance = "Reactance";
  MsgColumn = "Column";
  MsgSeparator = "Separator";
  MsgFunnelSegment = "Segment ";
  MsgGalleryFunnel = "Funnel";
  MsgFunnelPercent = "0.00 %";
  MsgFunnelExceed = "Exceeds quota";
  MsgFunnelWithin = " within quota";
  MsgFunnelBelow = " or more below quota";
  MsgGalleryCalendar = "Calendar";
  MsgGalleryDeltaPoint = "DeltaPoint";
  MsgGalleryImagePoint = "ImagePoint";
  MsgGalleryImageBar = "ImageBar";
  MsgSeriesTextFieldError = "SeriesText: Field index should be greater than zero.";
  MsgOrigin = "Origin";
  MsgTransparency = "Transparency";
  MsgGalleryBox = "Box";
  MsgExtrOut = "ExtrOut";
  MsgMildOut = "MildOut";
  MsgPageNumberTool = "Page Number";
  MsgTextFile = "Text File";
  MsgDragPointTool = "Drag Point";
  MsgOpportunityValues = "OpportunityValues";
  MsgQuoteValues = "QuoteValues";
  MsgFunctionSmoothing = "Smoothing";
  MsgFunctionCrossPoints = "Cross Points";
  MsgGridTransposeTool = "3D Grid Transpose";
  MsgFunctionCompression = "Compression";
  MsgExtraLegendTool = "Extra Legend";
  MsgFunctionCloseLocation = "Close Location\rValue";
  MsgFunctionOnBalanceVolume = "On Balance\rVolume";
  MsgFunctionCommodityChannel = "Commodity\rChannel Index";
  MsgFunctionVolumeOscillator = "Volume\rOscillator";
  MsgSeriesAnimationTool = "Series Animation";
  MsgGalleryPointFigure = "Point & Figure";
  MsgUp = "Up";
  MsgDown = "Down";
  MsgGanttDragTool = "Gantt Drag";
  MsgXmlFile = "XML file";
  MsgGridBandTool = "Grid Band";
  MsgFunctionPerformance = "Performance";
  MsgGalleryGauge = "Gauge";
  MsgGalleryGauges = "Gauges";
  MsgValuesEndZ = "EndZ";
  MsgGalleryVector3D = "Vector 3D";
  MsgGallery3D = "3D";
  MsgGalleryTower = "Tower";
  MsgSingleColor = "Single Color";
  MsgCover = "Cover";
  MsgCone = "Cone";
  MsgPieSlices = "Pie Slices";
  MsgStop = "Stop";
  MsgExecute = "Execute !";
  MsgThemes = "Themes";
  MsgLightingTool = "2D Lighting";
  MsgCurrent = "Current";
  MsgFunctionCorrelation = "Correlation";
  MsgFunctionVariance = "Variance";
  MsgGalleryBubble3D = "Bubble 3D";
  MsgGalleryHorizHistogram = "Horizontal\rHistogram";
  MsgFunctionPerimeter = "Perimeter";
  MsgFunctionSurfaceNearest = "Surface Nearest";
  MsgAxisScrollTool = "Axis Scroll";
  MsgRectangleTool = "Rectangle";
  MsgGalleryPolarBar = "Polar Bar";
  MsgAsWapBitmap = "Wap Bitmap";
  MsgWapBitmapFilter = "Wap Bitmaps (*.wbmp)|*.wbmp";
  MsgClipSeriesTool = "Clip Series";
  MsgSeriesBandTool = "Series Band";
  MsgGalleryFacts = "Facts";
  MsgFunctionDownSampling = "Downsampling";
  MsgSelectorTool = "Selector";
  MsgLegendScrollbarTool = "Legend Scrollbar";
  MsgDataTableTool = "Data Table";
}

void ClearFurtherChartMessages() {
  for (std::string* text : FurtherChartMessageVariables()) text->clear();
}

namespace {
UnitCounter gMainTable(InitChartMessages, ClearChartMessages);
UnitCounter gFurtherTable(InitFurtherChartMessages, ClearFurtherChartMessages);
}  // namespace

void ChartMessagesStartup() { gMainTable.Start(); }
void ChartMessagesShutdown() { gMainTable.Stop(); }
void FurtherChartMessagesStartup() { gFurtherTable.Start(); }
void FurtherChartMessagesShutdown() { gFurtherTable.Stop(); }

}  // namespace chart
